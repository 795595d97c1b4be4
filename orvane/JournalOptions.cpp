#include "orvane/JournalOptions.hpp"

#include "orvane/StoreError.hpp"
#include "platform/runtime/foundation/core/Text.hpp"
#include "platform/kits/intents/ObjectSection.hpp"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace orvane {
namespace {

std::vector<std::shared_ptr<intents::Object>> options(const std::vector<KestrovaJournal>& journals) {
    std::vector<std::shared_ptr<intents::Object>> items;
    items.reserve(journals.size());
    for (const auto& journal : journals) {
        items.push_back(intentJournal(journal));
    }
    return items;
}

}  // namespace

std::shared_ptr<kestrova::IntentJournal> intentJournal(const KestrovaJournal& journal) {
    std::string display = journal.iconEmoji ? *journal.iconEmoji + " " + journal.title : journal.title;
    return std::make_shared<kestrova::IntentJournal>(std::to_string(journal.id), std::move(display), std::nullopt);
}

std::shared_ptr<intents::ObjectCollection> journalOptions(const ExtensionStore& store) {
    const auto daily = store.dailyJournals();
    // UTF-8 bytes order as the scalars they encode.
    std::vector<std::pair<std::string, KestrovaJournal>> others;
    for (auto& journal : store.otherJournals()) {
        others.emplace_back(foundation::Text(journal.title).normalized(), std::move(journal));
    }
    std::stable_sort(others.begin(), others.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<KestrovaJournal> sorted;
    for (auto& [title, journal] : others) {
        sorted.push_back(std::move(journal));
    }
    return std::make_shared<intents::ObjectCollection>(std::vector{
        std::make_shared<intents::ObjectSection>("Today", options(daily)),
        std::make_shared<intents::ObjectSection>("Not Today", options(sorted)),
    });
}

void completeWithJournalOptions(
    const std::function<void(std::shared_ptr<intents::ObjectCollection>, std::exception_ptr)>& completion) {
    std::shared_ptr<intents::ObjectCollection> options;
    std::exception_ptr error;
    try {
        options = journalOptions();
    } catch (const StoreError&) {
        error = std::current_exception();
    }
    completion(std::move(options), error);
}

std::shared_ptr<kestrova::IntentJournal> defaultJournal(const ExtensionStore& store) {
    try {
        if (const auto daily = store.dailyJournals(); !daily.empty()) {
            return intentJournal(daily.front());
        }
        if (const auto all = store.journals(); !all.empty()) {
            return intentJournal(all.front());
        }
    } catch (const StoreError& error) {
        error.report("no default journal");
    }
    return nullptr;
}

}  // namespace orvane
