#include "platform/headless/HeadlessBackend.hpp"

#include "platform/base/Verify.hpp"

namespace headless {

HeadlessBackend::HeadlessBackend()
    : application_(effects_),
      windows_(effects_),
      push_(effects_),
      notifications_(effects_),
      updaterDriver_(effects_),
      statusBar_(effects_),
      workspace_(effects_),
      panels_(effects_),
      audio_(effects_),
      websiteData_(effects_),
      webEngine_(effects_),
      timelines_(effects_) {}

HeadlessBackend& HeadlessBackend::installed() {
    auto* headless = dynamic_cast<HeadlessBackend*>(&backend::Backend::installed());
    VERIFY(headless != nullptr, "the installed backend is not the headless one");
    return *headless;
}

}  // namespace headless
