#pragma once

#include "platform/foundation/Data.hpp"
#include "platform/updater/AppcastItem.hpp"

#include <optional>
#include <string_view>
#include <vector>

namespace updater {

// An update feed in the RSS "appcast" form: each <item> of the channel is a release, with its version
// (<sparkle:version>, or the attribute of that name on the enclosure) and its download
// (<enclosure url="...">). Items without a version or a usable download URL are left out.
class Appcast {
public:
    // Throws AppcastError when the document is not well-formed XML or has no <rss> root.
    static Appcast parse(const foundation::Data& document);

    [[nodiscard]] const std::vector<AppcastItem>& items() const noexcept { return items_; }
    // The item with the highest version above `currentVersion`, if any.
    [[nodiscard]] std::optional<AppcastItem> newestItemAbove(std::string_view currentVersion) const;

private:
    std::vector<AppcastItem> items_;
};

}  // namespace updater
