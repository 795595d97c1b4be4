#include "platform/runtime/foundation/core/Locale.hpp"

#include "tests/support/ScopedEnvironment.hpp"

#include <gtest/gtest.h>

namespace foundation {
namespace {

TEST(Locale, TheUsersLocaleComesFromTheEnvironmentAsTheCLibraryRanksIt) {
    struct Case {
        const char* all;
        const char* time;
        const char* lang;
        const char* expected;
    };
    const Case cases[] = {
        {nullptr, nullptr, nullptr, "en_US_POSIX"},
        {nullptr, nullptr, "de_DE.UTF-8", "de_DE"},
        {nullptr, "fr_FR.UTF-8", "de_DE.UTF-8", "fr_FR"},
        {"pt_BR", "fr_FR", "de_DE", "pt_BR"},
        {"", "", "sr_RS@latin", "sr_RS"},
        {"C", "fr_FR", "de_DE", "en_US_POSIX"},
        {nullptr, nullptr, "C.UTF-8", "en_US_POSIX"},
        {nullptr, "POSIX", "de_DE", "en_US_POSIX"},
    };
    testsupport::ScopedEnvironment environment;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        environment.set("LC_ALL", c.all);
        environment.set("LC_TIME", c.time);
        environment.set("LANG", c.lang);
        EXPECT_EQ(Locale::current().identifier(), c.expected);
    }
}

}  // namespace
}  // namespace foundation
