#include "tools/widgethost/PlacementStore.hpp"

#include "tools/widgethost/AtomicFile.hpp"
#include "platform/kits/intents/KeyedArchiver.hpp"
#include "platform/kits/intents/KeyedUnarchiver.hpp"
#include "platform/runtime/foundation/coding/Decoder.hpp"
#include "platform/runtime/foundation/coding/Encoder.hpp"
#include "platform/runtime/foundation/coding/JSONDecoder.hpp"
#include "platform/runtime/foundation/coding/JSONEncoder.hpp"
#include "platform/runtime/foundation/coding/KeyedDecodingContainer.hpp"
#include "platform/runtime/foundation/coding/KeyedEncodingContainer.hpp"
#include "platform/runtime/foundation/coding/UnkeyedDecodingContainer.hpp"
#include "platform/runtime/foundation/coding/UnkeyedEncodingContainer.hpp"

#include <charconv>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

namespace widgethost {

std::shared_ptr<const kestrova::SelectJournalIntent> journalConfiguration(std::string identifier,
                                                                          std::string display) {
    auto intent = std::make_shared<kestrova::SelectJournalIntent>();
    intent->setJournal(std::make_shared<kestrova::IntentJournal>(std::move(identifier), std::move(display),
                                                                 std::nullopt));
    return intent;
}

namespace {

// The configuration is kept as the intent's keyed archive, the form the extension reads it in.
struct ArchivedConfiguration {
    std::shared_ptr<const kestrova::SelectJournalIntent> intent;

    void encode(foundation::Encoder& encoder) const { intents::KeyedArchiver::encodeObject(encoder, *intent); }
    static ArchivedConfiguration decode(foundation::Decoder& decoder) {
        return {intents::KeyedUnarchiver::checkedCast<kestrova::SelectJournalIntent>(
            intents::KeyedUnarchiver::decodeObject(decoder))};
    }
};

struct StoredPlacement {
    Placement placement;

    void encode(foundation::Encoder& encoder) const {
        auto container = encoder.container();
        container.encode("kind", placement.kind);
        container.encode("family", std::string(widgetkit::name(placement.family)));
        if (placement.configuration) {
            container.encode("configuration", ArchivedConfiguration{placement.configuration});
        }
    }
    static StoredPlacement decode(foundation::Decoder& decoder) {
        const auto container = decoder.container();
        StoredPlacement stored;
        stored.placement.kind = container.decode<std::string>("kind");
        const auto family = container.decode<std::string>("family");
        const auto known = widgetkit::widgetFamilyNamed(family);
        if (!known) {
            throw std::runtime_error("no widget family is named \"" + family + "\"");
        }
        stored.placement.family = *known;
        if (const auto configuration = container.decodeIfPresent<ArchivedConfiguration>("configuration")) {
            stored.placement.configuration = configuration->intent;
        }
        return stored;
    }
};

struct StoredPlacements {
    std::vector<StoredPlacement> widgets;

    void encode(foundation::Encoder& encoder) const { encoder.container().encode("widgets", widgets); }
    static StoredPlacements decode(foundation::Decoder& decoder) {
        return {decoder.container().decode<std::vector<StoredPlacement>>("widgets")};
    }
};

std::optional<std::string> contents(const std::filesystem::path& file, std::ostream& errors) {
    std::error_code error;
    if (!std::filesystem::exists(file, error)) {
        return std::nullopt;
    }
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    if (!in || !(text << in.rdbuf())) {
        errors << "widgethost: " << file.string() << " cannot be read; starting from the defaults\n";
        return std::nullopt;
    }
    return text.str();
}

}  // namespace

std::filesystem::path PlacementStore::defaultDirectory() {
    std::filesystem::path state;
    if (const char* xdg = std::getenv("XDG_STATE_HOME"); xdg != nullptr && *xdg == '/') {
        state = xdg;
    } else {
        const char* home = std::getenv("HOME");
        state = std::filesystem::path(home != nullptr ? home : "/") / ".local" / "state";
    }
    return state / "kestrova" / "widgets";
}

std::optional<std::vector<Placement>> PlacementStore::placements() const {
    const auto file = directory_ / "placements";
    const auto text = contents(file, errors_);
    if (!text) {
        return std::nullopt;
    }
    try {
        std::vector<Placement> placements;
        for (auto& stored : foundation::JSONDecoder().decode<StoredPlacements>(*text).widgets) {
            placements.push_back(std::move(stored.placement));
        }
        return placements;
    } catch (const std::exception& error) {
        errors_ << "widgethost: " << file.string() << " is damaged (" << error.what()
                << "); starting from the defaults\n";
        return std::nullopt;
    }
}

void PlacementStore::savePlacements(const std::vector<Placement>& placements) const {
    StoredPlacements stored;
    for (const auto& placement : placements) {
        stored.widgets.push_back({placement});
    }
    save("placements", foundation::JSONEncoder().encode(stored).view());
}

std::uint64_t PlacementStore::reloadCount() const {
    const auto text = contents(directory_ / "reload-count", errors_);
    std::uint64_t count = 0;
    if (text) {
        const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), count);
        if (error != std::errc() || (end != text->data() + text->size() && *end != '\n')) {
            errors_ << "widgethost: " << (directory_ / "reload-count").string() << " is damaged; reading it as 0\n";
            return 0;
        }
    }
    return count;
}

void PlacementStore::saveReloadCount(std::uint64_t count) const {
    save("reload-count", std::to_string(count) + "\n");
}

void PlacementStore::save(const char* name, std::string_view bytes) const {
    std::error_code ignored;
    std::filesystem::create_directories(directory_, ignored);
    writeAtomically(directory_ / name, bytes);
}

}  // namespace widgethost
