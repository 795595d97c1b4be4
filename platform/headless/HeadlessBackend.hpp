#pragma once

#include "platform/backend/Backend.hpp"
#include "platform/headless/HeadlessWindowRealizer.hpp"

namespace headless {

// In-process and deterministic: nothing reaches a display or the session
// bus. Tests install it and drive what a desktop session would do.
class HeadlessBackend final : public backend::Backend {
public:
    HeadlessBackend() = default;

    [[nodiscard]] std::string_view name() const noexcept override { return "headless"; }
    [[nodiscard]] HeadlessWindowRealizer& windowRealizer() override { return windowRealizer_; }

private:
    HeadlessWindowRealizer windowRealizer_;
};

}  // namespace headless
