#include "platform/kits/updater/Appcast.hpp"

#include "platform/kits/updater/AppcastError.hpp"
#include "platform/kits/updater/AppcastLinkPolicy.hpp"
#include "platform/kits/updater/Version.hpp"

#include <glib.h>

#include <cstring>
#include <string>

namespace updater {

namespace {

// What the parser has seen so far.
struct Reading {
    explicit Reading(const foundation::URL& feedURL) : policy(feedURL) {}

    AppcastLinkPolicy policy;
    bool sawRoot = false;
    bool inItem = false;
    std::string element;  // the innermost open element inside an item
    std::string text;
    std::string title;
    std::string version;
    std::string shortVersion;
    std::string enclosure;
    std::string link;
    std::vector<AppcastItem> items;
    std::vector<std::string> refusedLinks;

    void beginItem() {
        inItem = true;
        title.clear();
        version.clear();
        shortVersion.clear();
        enclosure.clear();
        link.clear();
    }

    void endItem() {
        inItem = false;
        if (version.empty() || enclosure.empty()) {
            return;
        }
        // A release whose download may not be opened is left out, so that another can still be offered.
        const auto url = allowedURL(enclosure);
        if (!url) {
            return;
        }
        AppcastItem item{title, version, shortVersion.empty() ? version : shortVersion, *url, std::nullopt};
        // Without its page the release still has its download to send the user to.
        if (!link.empty()) {
            item.link = allowedURL(link);
        }
        items.push_back(std::move(item));
    }

    std::optional<foundation::URL> allowedURL(const std::string& written) {
        auto url = foundation::URL::fromString(written);
        if (!url || !policy.allows(*url)) {
            refusedLinks.push_back(written);
            return std::nullopt;
        }
        return url;
    }
};

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

void onStart(GMarkupParseContext*, const gchar* name, const gchar** attributeNames, const gchar** attributeValues,
             gpointer data, GError**) {
    auto* reading = static_cast<Reading*>(data);
    const std::string element = name;
    if (!reading->sawRoot) {
        reading->sawRoot = element == "rss";
    }
    if (element == "item") {
        reading->beginItem();
        return;
    }
    if (!reading->inItem) {
        return;
    }
    reading->element = element;
    reading->text.clear();
    if (element == "enclosure") {
        for (int i = 0; attributeNames[i] != nullptr; ++i) {
            const std::string attribute = attributeNames[i];
            if (attribute == "url") {
                reading->enclosure = trimmed(attributeValues[i]);
            } else if (attribute == "sparkle:version" && reading->version.empty()) {
                reading->version = trimmed(attributeValues[i]);
            } else if (attribute == "sparkle:shortVersionString" && reading->shortVersion.empty()) {
                reading->shortVersion = trimmed(attributeValues[i]);
            }
        }
    }
}

void onEnd(GMarkupParseContext*, const gchar* name, gpointer data, GError**) {
    auto* reading = static_cast<Reading*>(data);
    const std::string element = name;
    if (element == "item") {
        if (reading->inItem) {
            reading->endItem();
        }
        return;
    }
    if (!reading->inItem) {
        return;
    }
    const std::string value = trimmed(reading->text);
    // The element's own value wins over the enclosure's attribute.
    if (element == "title") {
        reading->title = value;
    } else if (element == "link") {
        reading->link = value;
    } else if (element == "sparkle:version" && !value.empty()) {
        reading->version = value;
    } else if (element == "sparkle:shortVersionString" && !value.empty()) {
        reading->shortVersion = value;
    }
    reading->element.clear();
    reading->text.clear();
}

void onText(GMarkupParseContext*, const gchar* text, gsize length, gpointer data, GError**) {
    auto* reading = static_cast<Reading*>(data);
    if (reading->inItem && !reading->element.empty()) {
        reading->text.append(text, length);
    }
}

}  // namespace

Appcast Appcast::parse(const foundation::Data& document, const foundation::URL& feedURL) {
    static const GMarkupParser parser = {onStart, onEnd, onText, nullptr, nullptr};
    Reading reading(feedURL);
    GMarkupParseContext* context =
        g_markup_parse_context_new(&parser, G_MARKUP_TREAT_CDATA_AS_TEXT, &reading, nullptr);
    GError* error = nullptr;
    const auto* bytes = reinterpret_cast<const gchar*>(document.data());
    const gboolean parsed = g_markup_parse_context_parse(context, bytes, static_cast<gssize>(document.size()), &error) &&
                            g_markup_parse_context_end_parse(context, &error);
    g_markup_parse_context_free(context);
    if (parsed == FALSE) {
        std::string message = "the update feed is no well-formed XML: ";
        message += error != nullptr ? error->message : "empty document";
        g_clear_error(&error);
        throw AppcastError(message);
    }
    if (!reading.sawRoot) {
        throw AppcastError("the update feed is no RSS document");
    }
    Appcast appcast;
    appcast.items_ = std::move(reading.items);
    appcast.refusedLinks_ = std::move(reading.refusedLinks);
    return appcast;
}

std::optional<AppcastItem> Appcast::newestItemAbove(std::string_view currentVersion) const {
    const AppcastItem* newest = nullptr;
    for (const auto& item : items_) {
        if (compareVersions(item.version, currentVersion) > 0 &&
            (newest == nullptr || compareVersions(item.version, newest->version) > 0)) {
            newest = &item;
        }
    }
    return newest != nullptr ? std::optional<AppcastItem>(*newest) : std::nullopt;
}

}  // namespace updater
