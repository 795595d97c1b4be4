#pragma once

#include "platform/runtime/foundation/core/URL.hpp"

namespace updater {

// Which links of an update feed the updater may open once the user agrees: https only, since the
// browser would open whatever else a feed names (a file:, ssh: or javascript: link included). Plain
// http is allowed only when the feed itself came over http from this machine (127.0.0.0/8, ::1 or a
// name under localhost), where tests serve their feeds.
class AppcastLinkPolicy {
public:
    // `feedURL` is where the feed was fetched from, after redirects.
    explicit AppcastLinkPolicy(const foundation::URL& feedURL);

    [[nodiscard]] bool allows(const foundation::URL& link) const;

private:
    bool allowsPlainHTTP_ = false;
};

}  // namespace updater
