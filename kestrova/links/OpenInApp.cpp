#include "kestrova/links/OpenInApp.hpp"

#include "platform/kits/appkit/Workspace.hpp"
#include "platform/runtime/foundation/core/URLComponents.hpp"

namespace kestrova {

void openInApp(const foundation::URL& url) {
    auto components = foundation::URLComponents::fromString("kestrova:///open");
    components->setQueryItems(std::vector<foundation::URLQueryItem>{{"url", url.absoluteString()}});
    if (const auto link = components->url()) {
        static_cast<void>(appkit::Workspace::shared().open(*link));
    }
}

}  // namespace kestrova
