#pragma once

#include "platform/runtime/foundation/core/Data.hpp"
#include "platform/runtime/foundation/core/URL.hpp"
#include "platform/kits/updater/AppcastItem.hpp"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace updater {

// An update feed in the RSS "appcast" form: each <item> of the channel is a release, with its version
// (<sparkle:version>, or the attribute of that name on the enclosure), its download
// (<enclosure url="...">) and perhaps its page (<link>). Items without a version or a download are
// left out, and so are those whose download AppcastLinkPolicy refuses; a page it refuses is dropped.
class Appcast {
public:
    // `feedURL` is where the document came from, which decides the links it may offer. Throws
    // AppcastError when the document is not well-formed XML or has no <rss> root.
    static Appcast parse(const foundation::Data& document, const foundation::URL& feedURL);

    [[nodiscard]] const std::vector<AppcastItem>& items() const noexcept { return items_; }
    // The links left out, as the feed wrote them, in the feed's order.
    [[nodiscard]] const std::vector<std::string>& refusedLinks() const noexcept { return refusedLinks_; }
    // The item with the highest version above `currentVersion`, if any.
    [[nodiscard]] std::optional<AppcastItem> newestItemAbove(std::string_view currentVersion) const;

private:
    std::vector<AppcastItem> items_;
    std::vector<std::string> refusedLinks_;
};

}  // namespace updater
