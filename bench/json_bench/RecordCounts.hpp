#pragma once

#include <cstdint>

namespace bench {

// How many of each record a user holds, nested ones included: enough to tell
// that two readers of the same JSON took in the same records.
struct RecordCounts {
    std::int64_t users = 0;
    std::int64_t journals = 0;
    std::int64_t entries = 0;
    std::int64_t comments = 0;
    std::int64_t blocks = 0;
    std::int64_t blockFiles = 0;
    std::int64_t journalGroups = 0;
    std::int64_t metrics = 0;

    friend bool operator==(const RecordCounts&, const RecordCounts&) = default;
};

// Counts the records of kestrova::User and of bench::plain::User alike: both
// name their fields the same, and both nest through types that test as
// present or absent and dereference to the record.
class RecordCounter {
public:
    template <typename User>
    static RecordCounts of(const User& user) {
        RecordCounter counter;
        counter.user(user);
        return counter.counts_;
    }

private:
    template <typename User>
    void user(const User& u) {
        ++counts_.users;
        if (u.journals) {
            for (const auto& j : *u.journals) {
                journal(j);
            }
        }
        if (u.journalGroups) {
            counts_.journalGroups += static_cast<std::int64_t>(u.journalGroups->size());
        }
        if (u.metrics) {
            counts_.metrics += static_cast<std::int64_t>(u.metrics->size());
        }
    }

    template <typename Journal>
    void journal(const Journal& j) {
        ++counts_.journals;
        if (j.user) {
            user(*j.user);
        }
        if (j.collaborators) {
            for (const auto& c : *j.collaborators) {
                user(c);
            }
        }
        if (j.entries) {
            for (const auto& e : *j.entries) {
                entry(e);
            }
        }
    }

    template <typename Entry>
    void entry(const Entry& e) {
        ++counts_.entries;
        if (e.user) {
            user(*e.user);
        }
        if (e.journal) {
            journal(*e.journal);
        }
        if (e.comments) {
            for (const auto& c : *e.comments) {
                comment(c);
            }
        }
        if (e.blocks) {
            for (const auto& b : *e.blocks) {
                block(b);
            }
        }
    }

    template <typename Comment>
    void comment(const Comment& c) {
        ++counts_.comments;
        if (c.user) {
            user(*c.user);
        }
        if (c.entry) {
            entry(*c.entry);
        }
    }

    template <typename Block>
    void block(const Block& b) {
        ++counts_.blocks;
        for (const auto* file : {&b.originalFile, &b.defaultFile, &b.previewFile, &b.coverFile}) {
            counts_.blockFiles += file->has_value() ? 1 : 0;
        }
    }

    RecordCounts counts_;
};

}  // namespace bench
