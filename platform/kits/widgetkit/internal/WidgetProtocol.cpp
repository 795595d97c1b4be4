#include "platform/kits/widgetkit/internal/WidgetProtocol.hpp"

#include "platform/kits/intents/ExtensionMessage.hpp"
#include "platform/kits/intents/KeyedArchiver.hpp"
#include "platform/kits/intents/KeyedUnarchiver.hpp"
#include "platform/runtime/foundation/coding/Decoder.hpp"
#include "platform/runtime/foundation/coding/Encoder.hpp"
#include "platform/runtime/foundation/coding/JSONDecoder.hpp"
#include "platform/runtime/foundation/coding/JSONEncoder.hpp"
#include "platform/runtime/foundation/coding/KeyedDecodingContainer.hpp"
#include "platform/runtime/foundation/coding/KeyedEncodingContainer.hpp"

#include <array>
#include <stdexcept>
#include <utility>

namespace widgetkit::protocol {
namespace {

constexpr std::array<std::string_view, 4> operationNames{"widgets", "placeholder", "snapshot", "timeline"};
constexpr std::array<std::string_view, 3> policyNames{"atEnd", "after", "never"};

template <std::size_t N>
std::size_t indexNamed(const std::array<std::string_view, N>& names, std::string_view name, const char* what) {
    for (std::size_t index = 0; index < N; ++index) {
        if (names[index] == name) {
            return index;
        }
    }
    throw std::invalid_argument(std::string("no ") + what + " is named \"" + std::string(name) + "\"");
}

WidgetFamily familyNamed(std::string_view text) {
    const auto family = widgetFamilyNamed(text);
    if (!family) {
        throw std::invalid_argument("no widget family is named \"" + std::string(text) + "\"");
    }
    return *family;
}

std::string withMarker(const foundation::Data& json) {
    std::string text(1, intents::ExtensionMessage::marker);
    text += json.view();
    text += '\n';
    return text;
}

struct IntentRecord {
    std::shared_ptr<const intents::Intent> intent;

    void encode(foundation::Encoder& encoder) const { intents::KeyedArchiver::encodeObject(encoder, *intent); }
    static IntentRecord decode(foundation::Decoder& decoder) {
        return {intents::KeyedUnarchiver::checkedCast<intents::Intent>(intents::KeyedUnarchiver::decodeObject(decoder))};
    }
};

struct RectRecord {
    ui::Rect rect;

    void encode(foundation::Encoder& encoder) const {
        auto container = encoder.container();
        container.encode("x", rect.origin.x);
        container.encode("y", rect.origin.y);
        container.encode("width", rect.size.width);
        container.encode("height", rect.size.height);
    }
    static RectRecord decode(foundation::Decoder& decoder) {
        const auto container = decoder.container();
        return {ui::Rect{{container.decode<double>("x"), container.decode<double>("y")},
                         {container.decode<double>("width"), container.decode<double>("height")}}};
    }
};

struct LinkRecord {
    RenderedLink link;

    void encode(foundation::Encoder& encoder) const {
        auto container = encoder.container();
        container.encode("frame", RectRecord{link.frame});
        container.encode("url", link.url);
    }
    static LinkRecord decode(foundation::Decoder& decoder) {
        const auto container = decoder.container();
        return {RenderedLink{container.decode<RectRecord>("frame").rect, container.decode<std::string>("url")}};
    }
};

template <typename Record, typename Value>
std::vector<Record> records(const std::vector<Value>& values) {
    std::vector<Record> all;
    for (const auto& value : values) {
        all.push_back(Record{value});
    }
    return all;
}

template <typename Value, typename Record>
std::vector<Value> values(std::vector<Record> records, Value Record::*member) {
    std::vector<Value> all;
    for (auto& record : records) {
        all.push_back(std::move(record.*member));
    }
    return all;
}

struct EntryRecord {
    RenderedEntry entry;

    void encode(foundation::Encoder& encoder) const {
        auto container = encoder.container();
        container.encode("date", entry.date);
        container.encode("png", foundation::Data(entry.png));
        container.encode("width", entry.size.width);
        container.encode("height", entry.size.height);
        container.encode("scale", entry.scale);
        container.encode("links", records<LinkRecord>(entry.links));
        container.encodeIfPresent("widgetURL", entry.widgetURL);
    }
    static EntryRecord decode(foundation::Decoder& decoder) {
        const auto container = decoder.container();
        RenderedEntry entry;
        entry.date = container.decode<foundation::Date>("date");
        const auto png = container.decode<foundation::Data>("png");
        entry.png.assign(png.bytes().begin(), png.bytes().end());
        entry.size = {container.decode<double>("width"), container.decode<double>("height")};
        entry.scale = container.decode<double>("scale");
        entry.links = values(container.decode<std::vector<LinkRecord>>("links"), &LinkRecord::link);
        entry.widgetURL = container.decodeIfPresent<std::string>("widgetURL");
        return {std::move(entry)};
    }
};

struct TimelineRecord {
    RenderedTimeline timeline;

    void encode(foundation::Encoder& encoder) const {
        auto container = encoder.container();
        container.encode("entries", records<EntryRecord>(timeline.entries));
        container.encode("policy", std::string(policyNames[static_cast<std::size_t>(timeline.policy.kind())]));
        container.encodeIfPresent("policyDate", timeline.policy.date());
    }
    static TimelineRecord decode(foundation::Decoder& decoder) {
        const auto container = decoder.container();
        RenderedTimeline timeline;
        timeline.entries = values(container.decode<std::vector<EntryRecord>>("entries"), &EntryRecord::entry);
        const auto kind = static_cast<TimelineReloadPolicy::Kind>(
            indexNamed(policyNames, container.decode<std::string>("policy"), "reload policy"));
        switch (kind) {
            case TimelineReloadPolicy::Kind::atEnd:
                timeline.policy = TimelineReloadPolicy::atEnd();
                break;
            case TimelineReloadPolicy::Kind::after:
                timeline.policy = TimelineReloadPolicy::after(container.decode<foundation::Date>("policyDate"));
                break;
            case TimelineReloadPolicy::Kind::never:
                timeline.policy = TimelineReloadPolicy::never();
                break;
        }
        return {std::move(timeline)};
    }
};

struct DescriptionRecord {
    WidgetDescription description;

    void encode(foundation::Encoder& encoder) const {
        auto container = encoder.container();
        container.encode("kind", description.kind);
        container.encode("displayName", description.displayName);
        container.encode("description", description.description);
        std::vector<std::string> families;
        for (const auto family : description.supportedFamilies) {
            families.emplace_back(name(family));
        }
        container.encode("families", families);
        container.encode("configurationIntent", description.configurationIntent);
    }
    static DescriptionRecord decode(foundation::Decoder& decoder) {
        const auto container = decoder.container();
        WidgetDescription description;
        description.kind = container.decode<std::string>("kind");
        description.displayName = container.decode<std::string>("displayName");
        description.description = container.decode<std::string>("description");
        for (const auto& family : container.decode<std::vector<std::string>>("families")) {
            description.supportedFamilies.push_back(familyNamed(family));
        }
        description.configurationIntent = container.decode<std::string>("configurationIntent");
        return {std::move(description)};
    }
};

struct RequestRecord {
    Request request;

    void encode(foundation::Encoder& encoder) const {
        auto container = encoder.container();
        container.encode("id", request.id);
        container.encode("request", std::string(operationNames[static_cast<std::size_t>(request.operation)]));
        if (request.operation == Operation::widgets) {
            return;
        }
        container.encode("kind", request.widget.kind);
        container.encode("family", std::string(name(request.widget.family)));
        container.encode("scale", request.widget.scale);
        container.encode("isPreview", request.widget.isPreview);
        if (request.widget.configuration) {
            container.encode("configuration", IntentRecord{request.widget.configuration});
        }
    }
    static RequestRecord decode(foundation::Decoder& decoder) {
        const auto container = decoder.container();
        Request request;
        request.id = container.decode<std::int64_t>("id");
        request.operation = static_cast<Operation>(
            indexNamed(operationNames, container.decode<std::string>("request"), "request"));
        if (request.operation != Operation::widgets) {
            request.widget.kind = container.decode<std::string>("kind");
            request.widget.family = familyNamed(container.decode<std::string>("family"));
            request.widget.scale = container.decode<double>("scale");
            request.widget.isPreview = container.decode<bool>("isPreview");
            if (const auto configuration = container.decodeIfPresent<IntentRecord>("configuration")) {
                request.widget.configuration = configuration->intent;
            }
        }
        return {std::move(request)};
    }
};

struct AnswerRecord {
    Answer answer;

    void encode(foundation::Encoder& encoder) const {
        auto container = encoder.container();
        container.encode("id", answer.id);
        container.encodeIfPresent("error", answer.error);
        if (answer.widgets) {
            container.encode("widgets", records<DescriptionRecord>(*answer.widgets));
        }
        if (answer.entry) {
            container.encode("entry", EntryRecord{*answer.entry});
        }
        if (answer.timeline) {
            container.encode("timeline", TimelineRecord{*answer.timeline});
        }
    }
    static AnswerRecord decode(foundation::Decoder& decoder) {
        const auto container = decoder.container();
        Answer answer;
        answer.id = container.decode<std::int64_t>("id");
        answer.error = container.decodeIfPresent<std::string>("error");
        if (auto widgets = container.decodeIfPresent<std::vector<DescriptionRecord>>("widgets")) {
            answer.widgets = values(std::move(*widgets), &DescriptionRecord::description);
        }
        if (auto entry = container.decodeIfPresent<EntryRecord>("entry")) {
            answer.entry = std::move(entry->entry);
        }
        if (auto timeline = container.decodeIfPresent<TimelineRecord>("timeline")) {
            answer.timeline = std::move(timeline->timeline);
        }
        return {std::move(answer)};
    }
};

}  // namespace

std::string Request::line() const {
    return withMarker(foundation::JSONEncoder().encode(RequestRecord{*this}));
}

Request Request::parse(std::string_view json) {
    return foundation::JSONDecoder().decode<RequestRecord>(json).request;
}

std::string Answer::line() const {
    return withMarker(foundation::JSONEncoder().encode(AnswerRecord{*this}));
}

Answer Answer::parse(std::string_view json) {
    return foundation::JSONDecoder().decode<AnswerRecord>(json).answer;
}

}  // namespace widgetkit::protocol
