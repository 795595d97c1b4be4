#include "platform/runtime/foundation/defaults/AppGroup.hpp"

#include "tests/support/ScopedEnvironment.hpp"

#include <gtest/gtest.h>

namespace foundation {
namespace {

TEST(AppGroup, FindsItsDirectoryInTheEnvironment) {
    using Value = std::optional<std::string>;
    const std::string id(AppGroup::identifier());
    struct Case {
        const char* name;
        Value groupDirectory;
        Value configHome;
        Value home;
        std::optional<std::filesystem::path> expected;
    };
    const Case cases[] = {
        {"explicit directory first", "/srv/group", "/xdg", "/home/u", "/srv/group"},
        {"config home", std::nullopt, "/xdg", "/home/u", "/xdg/" + id},
        {"empty explicit directory counts as unset", "", "/xdg", "/home/u", "/xdg/" + id},
        {"home's .config without a config home", std::nullopt, std::nullopt, "/home/u",
         "/home/u/.config/" + id},
        {"empty config home counts as unset", std::nullopt, "", "/home/u", "/home/u/.config/" + id},
        {"relative config home is ignored", std::nullopt, "relative/xdg", "/home/u", "/home/u/.config/" + id},
        {"nothing set", std::nullopt, std::nullopt, std::nullopt, std::nullopt},
        {"only a relative config home", std::nullopt, "relative/xdg", std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        testsupport::ScopedEnvironment environment;
        environment.set("KESTROVA_APP_GROUP_DIR", c.groupDirectory);
        environment.set("XDG_CONFIG_HOME", c.configHome);
        environment.set("HOME", c.home);
        EXPECT_EQ(AppGroup::containerDirectory(), c.expected) << c.name;
    }
}

}  // namespace
}  // namespace foundation
