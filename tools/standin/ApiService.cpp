#include "tools/standin/ApiService.hpp"

#include "platform/runtime/foundation/coding/Decoder.hpp"
#include "platform/runtime/foundation/coding/Encoder.hpp"
#include "platform/runtime/foundation/coding/JSONDecoder.hpp"
#include "platform/runtime/foundation/coding/JSONEncoder.hpp"
#include "platform/runtime/foundation/coding/KeyedDecodingContainer.hpp"
#include "platform/runtime/foundation/coding/KeyedEncodingContainer.hpp"
#include "tools/standin/Days.hpp"
#include "tools/standin/Refusal.hpp"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <fstream>

namespace standin {
namespace {

constexpr const char* notSignedIn = "You are not signed in.";

template <typename T>
std::string json(const T& value) {
    return std::string(foundation::JSONEncoder().encode(value).view());
}

struct MessageReply {
    std::string message;

    void encode(foundation::Encoder& encoder) const { encoder.container().encode("message", message); }
};

struct EntryReply {
    const StoredEntry& entry;
    std::int64_t userId;
    const ServiceAddresses& addresses;

    void encode(foundation::Encoder& encoder) const {
        auto c = encoder.container();
        c.encode("id", entry.id);
        c.encode("createdAt", entry.createdAt);
        c.encode("updatedAt", entry.createdAt);
        c.encode("commentCount", std::int64_t{0});
        c.encode("unreadCommentCount", std::int64_t{0});
        c.encode("journal_id", entry.journalId);
        c.encode("user_id", userId);
        c.encode("private", entry.isPrivate);
        std::vector<BlockReply> blocks;
        for (const auto& block : entry.blocks) {
            blocks.push_back({entry.id, block, addresses});
        }
        c.encode("blocks", blocks);
    }

    struct BlockReply {
        std::int64_t entryId;
        const StoredEntry::Block& block;
        const ServiceAddresses& addresses;

        void encode(foundation::Encoder& encoder) const {
            auto c = encoder.container();
            c.encode("id", entryId * 100 + block.index);
            c.encode("index", block.index);
            c.encode("type", block.type);
            c.encodeIfPresent("text", block.text);
            if (block.fileName) {
                c.encode("originalFile", FileReply{*this});
            }
        }
    };

    struct FileReply {
        const BlockReply& owner;

        void encode(foundation::Encoder& encoder) const {
            const auto& block = owner.block;
            auto c = encoder.container();
            c.encode("id", owner.entryId * 100 + block.index);
            c.encode("size", block.size.value_or(0));
            c.encode("mimeType", block.mimeType.value_or("application/octet-stream"));
            c.encode("url", owner.addresses.apiBase() + "/files/" + storedFileName(owner.entryId, block.index));
        }
    };
};

struct JournalReply {
    const StoredJournal& journal;
    std::int64_t index;
    const std::string& day;
    const ServiceAddresses& addresses;

    void encode(foundation::Encoder& encoder) const {
        const auto entriesToday = std::ranges::count(journal.entries, day, &StoredEntry::streakDate);
        const bool missedByOneDay = journal.streakDate && journal.streakDate == dayBefore(*dayBefore(day));
        auto c = encoder.container();
        c.encode("id", journal.id);
        c.encode("title", journal.title);
        c.encode("description", journal.description);
        c.encode("slug", journal.slug);
        if (journal.iconEmoji) {
            c.encode("iconEmoji", *journal.iconEmoji);
        } else {
            c.encode("iconLink", addresses.apiBase() + "/journals/" + std::to_string(journal.id) + "/icon.svg");
        }
        c.encode("isDaily", journal.isDaily);
        c.encode("index", index);
        c.encode("notTodayIndex", index);
        c.encode("streak", journal.streak);
        c.encodeIfPresent("streakDate", journal.streakDate);
        c.encode("isOwner", true);
        c.encode("isCollaborator", false);
        c.encode("isStreakMissedByOneDay", missedByOneDay);
        c.encode("isScheduled", journal.isScheduled);
        c.encode("isDue", journal.isDue());
        c.encode("nextStreakDate", journal.isDoneOn(day) ? dayAfter(day) : day);
        c.encode("entriesToday", static_cast<std::int64_t>(entriesToday));
        c.encode("entry_number", static_cast<std::int64_t>(journal.entries.size()));
        if (!journal.entries.empty()) {
            c.encode("last_entry_at", journal.entries.back().createdAt);
        }
        c.encode("private", journal.isPrivate);
        c.encode("open", !journal.isPrivate);
        c.encode("shouldDisplayStreak", journal.isDaily || journal.isScheduled);
    }
};

struct UserReply {
    const StoredAccount& account;
    const ServiceAddresses& addresses;

    void encode(foundation::Encoder& encoder) const {
        const std::string day = today();
        std::int64_t entries = 0;
        std::int64_t entriesToday = 0;
        for (const auto& journal : account.journals) {
            entries += static_cast<std::int64_t>(journal.entries.size());
            entriesToday += std::ranges::count(journal.entries, day, &StoredEntry::streakDate);
        }
        auto c = encoder.container();
        c.encode("id", account.id);
        c.encode("username", account.username);
        c.encode("email", account.email);
        std::vector<JournalReply> journals;
        std::int64_t index = 0;
        for (const auto& journal : account.journals) {
            journals.push_back({journal, index++, day, addresses});
        }
        c.encode("journals", journals);
        c.encode("numberOfEntries", entries);
        c.encode("numberOfEntriesToday", entriesToday);
        c.encode("metrics", account.metrics);
        c.encode("quietMode", account.quietMode);
        c.encode("plus", account.plus);
        c.encode("boost", false);
    }
};

struct DeviceTokenBody {
    std::string token;

    static DeviceTokenBody decode(foundation::Decoder& decoder) {
        return {decoder.container().decode<std::string>("token")};
    }
};

struct SettingsBody {
    std::optional<bool> quietMode;

    static SettingsBody decode(foundation::Decoder& decoder) {
        return {decoder.container().decodeIfPresent<bool>("quietMode")};
    }
};

template <typename Body>
Body decodeBody(const httplib::Request& request, const char* refusal) {
    try {
        return foundation::JSONDecoder().decode<Body>(request.body);
    } catch (const std::exception&) {
        throw Refusal{400, refusal};
    }
}

std::string blockType(const std::string& mimeType) {
    for (const char* kind : {"image", "audio", "video"}) {
        if (mimeType.starts_with(std::string(kind) + "/")) {
            return kind;
        }
    }
    return "file";
}

std::optional<std::int64_t> number(std::string_view text) {
    std::int64_t value = 0;
    const auto [end, fault] = std::from_chars(text.data(), text.data() + text.size(), value);
    const bool whole = !text.empty() && text.front() != '-' && end == text.data() + text.size();
    return fault == std::errc() && whole ? std::optional(value) : std::nullopt;
}

// The number a path has between the prefix and the suffix, as in
// "/journals/7/icon.svg"; none when the path has another form.
std::optional<std::int64_t> numberBetween(std::string_view path, std::string_view prefix, std::string_view suffix) {
    if (!path.starts_with(prefix) || !path.ends_with(suffix) || path.size() < prefix.size() + suffix.size()) {
        return std::nullopt;
    }
    return number(path.substr(prefix.size(), path.size() - prefix.size() - suffix.size()));
}

// The entry and block of a stored file's path, "/files/<entry>-<index>".
std::optional<std::pair<std::int64_t, std::int64_t>> storedFile(std::string_view path) {
    constexpr std::string_view prefix = "/files/";
    const auto dash = path.find('-');
    if (!path.starts_with(prefix) || dash == std::string_view::npos) {
        return std::nullopt;
    }
    const auto entryId = number(path.substr(prefix.size(), dash - prefix.size()));
    const auto index = number(path.substr(dash + 1));
    return entryId && index ? std::optional(std::pair(*entryId, *index)) : std::nullopt;
}

// A new entry's fields and parts as the form sent them, before it is stored.
struct EntryForm {
    std::int64_t journalId = 0;
    std::string streakDate;
    bool isPrivate = false;
    bool isPartOfStreak = false;
    std::vector<const httplib::MultipartFormData*> parts;

    // The application's form: "journal_id", "streakDate", "private",
    // "isPartOfStreak", then "block0", "block1", ... The intents extension's
    // form has "notes" and "file" in place of the blocks and always counts.
    static EntryForm read(const httplib::Request& request, bool fromIntents) {
        if (!request.is_multipart_form_data()) {
            throw Refusal{400, "An entry is sent as multipart/form-data."};
        }
        auto field = [&](const char* name) -> std::string {
            if (!request.has_file(name)) {
                throw Refusal{400, std::string("The form has no field \"") + name + "\"."};
            }
            return request.get_file_value(name).content;
        };
        EntryForm form;
        const auto journalId = number(field("journal_id"));
        if (!journalId) {
            throw Refusal{400, "The journal id is no number."};
        }
        form.journalId = *journalId;
        form.streakDate = field("streakDate");
        // The application's actions leave the day to the service: its own today.
        if (form.streakDate.empty()) {
            form.streakDate = today();
        }
        if (!isDay(form.streakDate)) {
            throw Refusal{400, "The streak date is no day of the form yyyy-MM-dd."};
        }
        form.isPrivate = field("private") == "true";
        form.isPartOfStreak = fromIntents || field("isPartOfStreak") == "true";
        if (fromIntents) {
            for (const char* name : {"notes", "file"}) {
                if (request.has_file(name)) {
                    form.parts.push_back(&request.files.find(name)->second);
                }
            }
        } else {
            // Numbered parts in the order of their numbers; a gap is a block
            // the client left out.
            std::vector<std::pair<std::int64_t, const httplib::MultipartFormData*>> numbered;
            for (const auto& [name, part] : request.files) {
                if (name.starts_with("block")) {
                    if (const auto index = number(std::string_view(name).substr(5))) {
                        numbered.emplace_back(*index, &part);
                    }
                }
            }
            std::ranges::sort(numbered, {}, [](const auto& part) { return part.first; });
            for (const auto& entry : numbered) {
                form.parts.push_back(entry.second);
            }
        }
        const bool hasContent = std::ranges::any_of(
            form.parts, [](const httplib::MultipartFormData* part) { return !part->content.empty(); });
        if (!hasContent) {
            throw Refusal{400, "An entry needs some text or a file."};
        }
        return form;
    }
};

}  // namespace

std::string storedFileName(std::int64_t entryId, std::int64_t index) {
    return std::to_string(entryId) + "-" + std::to_string(index);
}

ApiService::ApiService(Store& store, ServiceAddresses addresses, std::filesystem::path filesDirectory)
    : store_(store), addresses_(std::move(addresses)), filesDirectory_(std::move(filesDirectory)) {}

std::optional<std::string> ApiService::sessionToken(const httplib::Request& request) {
    const std::string cookies = request.get_header_value("Cookie");
    std::size_t start = 0;
    while (start < cookies.size()) {
        auto end = cookies.find(';', start);
        if (end == std::string::npos) {
            end = cookies.size();
        }
        auto pair = std::string_view(cookies).substr(start, end - start);
        while (!pair.empty() && pair.front() == ' ') {
            pair.remove_prefix(1);
        }
        if (pair.starts_with("token=")) {
            return std::string(pair.substr(6));
        }
        start = end + 1;
    }
    return std::nullopt;
}

void ApiService::handle(const httplib::Request& request, httplib::Response& response) {
    allowWebOrigins(request, response);
    try {
        if (request.method == "OPTIONS") {
            response.status = 204;
            return;
        }
        const auto& path = request.path;
        const auto& method = request.method;
        if (const auto journalId = numberBetween(path, "/journals/", "/icon.svg"); method == "GET" && journalId) {
            getIcon(*journalId, response);
            return;
        }
        const auto file = storedFile(path);
        if (method == "GET" && file) {
            getFile(file->first, file->second, response);
            return;
        }
        struct Route {
            const char* method;
            const char* path;
        };
        static constexpr Route routes[] = {
            {"GET", "/auth"},          {"GET", "/logout"},           {"POST", "/auth/apn-device-token"},
            {"POST", "/metric-data"},  {"POST", "/users"},           {"POST", "/entries/create"},
            {"POST", "/entries"},
        };
        const auto journalId = numberBetween(path, "/journals/", "");
        const bool isJournal = journalId.has_value();
        const auto route = std::ranges::find_if(routes, [&](const Route& r) { return path == r.path; });
        if (route == std::end(routes) && !isJournal) {
            throw Refusal{404, "There is nothing at " + path + "."};
        }
        if ((isJournal && method != "GET") || (!isJournal && method != route->method)) {
            throw Refusal{405, method + " is not allowed on " + path + "."};
        }
        const auto token = sessionToken(request);
        const auto account = store_.read([&](const StandinData& data) -> std::optional<StoredAccount> {
            const auto* found = data.accountWithToken(token.value_or(""));
            return found ? std::optional(*found) : std::nullopt;
        });
        if (!account) {
            throw Refusal{401, notSignedIn};
        }
        if (isJournal) {
            getJournal(*account, *journalId, response);
        } else if (path == "/auth") {
            getUser(*account, response);
        } else if (path == "/logout") {
            logout(*account, response);
        } else if (path == "/auth/apn-device-token") {
            registerDeviceToken(*account, request, response);
        } else if (path == "/metric-data") {
            createMetricData(*account, request, response);
        } else if (path == "/users") {
            updateSettings(*account, request, response);
        } else {
            createEntry(*account, request, response, path == "/entries");
        }
    } catch (const Refusal& refusal) {
        response.status = refusal.status;
        response.set_content(json(MessageReply{refusal.message}), "application/json");
    } catch (const Store::Error& error) {
        response.status = 500;
        response.set_content(json(MessageReply{error.what()}), "application/json");
    }
}

void ApiService::allowWebOrigins(const httplib::Request& request, httplib::Response& response) const {
    // The pages publish and sign out with calls from their own hosts, which
    // are other origins than the API's.
    const std::string origin = request.get_header_value("Origin");
    if (origin == addresses_.origin(addresses_.domain) || origin == addresses_.origin(addresses_.betaHost())) {
        response.set_header("Access-Control-Allow-Origin", origin);
        response.set_header("Access-Control-Allow-Credentials", "true");
        response.set_header("Access-Control-Allow-Methods", "GET, POST");
        response.set_header("Access-Control-Allow-Headers", "Content-Type");
        response.set_header("Vary", "Origin");
    }
}

void ApiService::getUser(const StoredAccount& account, httplib::Response& response) const {
    response.set_content(json(UserReply{account, addresses_}), "application/json");
}

void ApiService::logout(const StoredAccount& account, httplib::Response& response) {
    store_.update([&](StandinData& data) { data.accountWithUsername(account.username)->token.reset(); });
    response.set_header("Set-Cookie", "token=; Domain=" + addresses_.domain +
                                          "; Path=/; Max-Age=0; Secure; SameSite=Lax");
    response.set_content("{}", "application/json");
}

void ApiService::registerDeviceToken(const StoredAccount& account, const httplib::Request& request,
                                     httplib::Response& response) {
    const auto body = decodeBody<DeviceTokenBody>(request, "The body is no object with a \"token\" text.");
    const bool isHex = !body.token.empty() && body.token.size() % 2 == 0 &&
                       std::ranges::all_of(body.token, [](char c) { return std::isxdigit(c) && !std::isupper(c); });
    if (!isHex) {
        throw Refusal{400, "The device token is no lower-case hexadecimal text."};
    }
    store_.update([&](StandinData& data) {
        auto& tokens = data.accountWithUsername(account.username)->deviceTokens;
        if (std::ranges::find(tokens, body.token) == tokens.end()) {
            tokens.push_back(body.token);
        }
    });
    response.set_content("{}", "application/json");
}

void ApiService::createMetricData(const StoredAccount& account, const httplib::Request& request,
                                  httplib::Response& response) {
    const auto record = decodeBody<kestrova::MetricData>(request, "The body is no metric value.");
    if (std::ranges::find(account.metrics, record.metricId, &kestrova::Metric::id) == account.metrics.end()) {
        throw Refusal{400, "There is no metric with the id " + record.metricId.uuidString() + "."};
    }
    if (!account.hasEntry(record.entryId)) {
        throw Refusal{403, "The entry " + std::to_string(record.entryId) + " is not yours."};
    }
    store_.update([&](StandinData& data) {
        auto& values = data.accountWithUsername(account.username)->metricData;
        std::erase_if(values, [&](const kestrova::MetricData& value) { return value.id == record.id; });
        values.push_back(record);
    });
    response.set_content(json(record), "application/json");
}

void ApiService::updateSettings(const StoredAccount& account, const httplib::Request& request,
                                httplib::Response& response) {
    const auto body = decodeBody<SettingsBody>(request, "The body is no object of user settings.");
    const auto updated = store_.update([&](StandinData& data) {
        auto& stored = *data.accountWithUsername(account.username);
        if (body.quietMode) {
            stored.quietMode = *body.quietMode;
        }
        return stored;
    });
    response.set_content(json(UserReply{updated, addresses_}), "application/json");
}

void ApiService::createEntry(const StoredAccount& account, const httplib::Request& request,
                             httplib::Response& response, bool fromIntents) {
    const auto form = EntryForm::read(request, fromIntents);
    const auto* journal = account.journal(form.journalId);
    if (journal == nullptr) {
        throw Refusal{403, "You have no journal with the id " + std::to_string(form.journalId) + "."};
    }
    if (form.isPrivate && !journal->isPrivate && !account.plus) {
        throw Refusal{402, "Private entries in a public journal need Kestrova+."};
    }
    std::vector<std::filesystem::path> written;
    try {
        const auto entry = store_.update([&](StandinData& data) {
            StoredEntry made{.id = data.nextEntryId++,
                             .journalId = form.journalId,
                             .streakDate = form.streakDate,
                             .isPrivate = form.isPrivate,
                             .isPartOfStreak = form.isPartOfStreak,
                             .createdAt = nowText(),
                             .blocks = {}};
            std::int64_t index = 0;
            for (const auto* part : form.parts) {
                if (part->content.empty()) {
                    continue;
                }
                StoredEntry::Block block;
                block.index = index++;
                if (part->filename.empty()) {
                    block.type = "text";
                    block.text = part->content;
                } else {
                    const auto mimeType = part->content_type.empty() ? "application/octet-stream" : part->content_type;
                    block.type = blockType(mimeType);
                    block.fileName = part->filename;
                    block.mimeType = mimeType;
                    block.size = static_cast<std::int64_t>(part->content.size());
                    std::filesystem::create_directories(filesDirectory_);
                    const auto file = filesDirectory_ / storedFileName(made.id, block.index);
                    written.push_back(file);
                    std::ofstream out(file, std::ios::binary);
                    if (!(out << part->content) || !out.flush()) {
                        throw Store::Error(file.string() + ": the file of the entry cannot be written");
                    }
                }
                made.blocks.push_back(std::move(block));
            }
            auto& stored = *data.accountWithUsername(account.username)->journal(form.journalId);
            const bool laterDay = !stored.streakDate || form.streakDate > *stored.streakDate;
            if (made.isPartOfStreak && laterDay) {
                stored.streak = stored.streakDate == dayBefore(form.streakDate) ? stored.streak + 1 : 1;
                stored.streakDate = form.streakDate;
            }
            stored.entries.push_back(made);
            return made;
        });
        response.set_content(json(EntryReply{entry, account.id, addresses_}), "application/json");
    } catch (...) {
        for (const auto& file : written) {
            std::filesystem::remove(file);
        }
        throw;
    }
}

void ApiService::getJournal(const StoredAccount& account, std::int64_t journalId, httplib::Response& response) const {
    const auto* journal = account.journal(journalId);
    if (journal == nullptr) {
        throw Refusal{403, "You have no journal with the id " + std::to_string(journalId) + "."};
    }
    const auto index = journal - account.journals.data();
    const std::string day = today();
    response.set_content(json(JournalReply{*journal, index, day, addresses_}), "application/json");
}

void ApiService::getIcon(std::int64_t journalId, httplib::Response& response) const {
    const auto title = store_.read([&](const StandinData& data) -> std::optional<std::string> {
        for (const auto& account : data.accounts) {
            if (const auto* journal = account.journal(journalId)) {
                return journal->title;
            }
        }
        return std::nullopt;
    });
    if (!title) {
        throw Refusal{404, "There is no journal with the id " + std::to_string(journalId) + "."};
    }
    // A letter on a disc whose hue follows the id, so that icons differ.
    const char initial = title->empty() ? '?' : static_cast<char>(std::toupper(static_cast<unsigned char>((*title)[0])));
    const std::string letter = std::isalnum(static_cast<unsigned char>(initial)) ? std::string(1, initial) : "?";
    const auto hue = std::to_string((journalId * 67) % 360);
    response.set_header("Cache-Control", "max-age=3600");
    response.set_content(
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"128\" height=\"128\" viewBox=\"0 0 128 128\">"
        "<circle cx=\"64\" cy=\"64\" r=\"64\" fill=\"hsl(" + hue + ",55%,45%)\"/>"
        "<text x=\"64\" y=\"86\" font-family=\"DejaVu Sans, sans-serif\" font-size=\"64\" font-weight=\"bold\" "
        "text-anchor=\"middle\" fill=\"#fff\">" + letter + "</text></svg>",
        "image/svg+xml");
}

void ApiService::getFile(std::int64_t entryId, std::int64_t index, httplib::Response& response) const {
    const auto name = storedFileName(entryId, index);
    const auto mimeType = store_.read([&](const StandinData& data) -> std::optional<std::string> {
        for (const auto& account : data.accounts) {
            for (const auto& journal : account.journals) {
                for (const auto& entry : journal.entries) {
                    for (const auto& block : entry.blocks) {
                        if (entry.id == entryId && block.index == index && block.mimeType) {
                            return block.mimeType;
                        }
                    }
                }
            }
        }
        return std::nullopt;
    });
    std::ifstream in(filesDirectory_ / name, std::ios::binary);
    if (!mimeType || !in) {
        throw Refusal{404, "There is no file " + name + "."};
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    response.set_content(std::move(bytes), *mimeType);
}

}  // namespace standin
