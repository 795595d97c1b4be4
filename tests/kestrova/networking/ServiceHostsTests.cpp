#include "kestrova/networking/ServiceHosts.hpp"

#include "kestrova/networking/APIBaseURLOverride.hpp"

#include <gtest/gtest.h>

#include <cstdlib>

namespace kestrova {
namespace {

TEST(ServiceHosts, AreTheDomainAndItsTwoSubdomains) {
    EXPECT_EQ(webHost(), "kestrova.example");
    EXPECT_EQ(betaWebHost(), "beta.kestrova.example");
    EXPECT_EQ(apiHost(), "api.kestrova.example");
    EXPECT_EQ(webBaseURL().absoluteString(), "https://kestrova.example/");
    EXPECT_EQ(betaWebBaseURL().absoluteString(), "https://beta.kestrova.example/");
}

TEST(ServiceHosts, WebHostRewrite) {
    struct Case {
        const char* url;
        bool useBeta;
        const char* expected;
    };
    const Case cases[] = {
        {"https://kestrova.example/ann/journal?sort=new&x=%2B#c-3", true,
         "https://beta.kestrova.example/ann/journal?sort=new&x=%2B#c-3"},
        {"https://kestrova.example/ann/journal?sort=new#c-3", false, "https://kestrova.example/ann/journal?sort=new#c-3"},
        {"https://beta.kestrova.example/home", false, "https://kestrova.example/home"},
        {"https://beta.kestrova.example/home", true, "https://beta.kestrova.example/home"},
        {"http://me:pw@kestrova.example:8443/a%7eb", true, "http://me:pw@beta.kestrova.example:8443/a%7eb"},
        {"https://api.kestrova.example/auth", true, "https://api.kestrova.example/auth"},
        {"https://www.kestrova.example/", true, "https://www.kestrova.example/"},
        {"https://Kestrova.example/", true, "https://Kestrova.example/"},
        {"https://kestrova.example./", true, "https://kestrova.example./"},
        {"https://elsewhere.example/", true, "https://elsewhere.example/"},
        {"file:///tmp/x", true, "file:///tmp/x"},
        {"kestrova:///open?url=https://kestrova.example/", true, "kestrova:///open?url=https://kestrova.example/"},
    };
    for (const auto& c : cases) {
        const auto url = *foundation::URL::fromString(c.url);
        const auto once = webHostURL(url, c.useBeta);
        EXPECT_EQ(once.absoluteString(), c.expected) << c.url;
        EXPECT_EQ(webHostURL(once, c.useBeta), once) << c.url;
    }
}

TEST(ServiceHosts, AnOverrideReplacesTheAPIBaseURLForItsScope) {
    const auto before = apiBaseURL();
    {
        const APIBaseURLOverride loopback(*foundation::URL::fromString("http://127.0.0.1:8080"));
        EXPECT_EQ(apiBaseURL().appendingPathComponent("/auth").absoluteString(), "http://127.0.0.1:8080/auth");
        {
            const APIBaseURLOverride staging(*foundation::URL::fromString("https://staging.example"));
            EXPECT_EQ(apiBaseURL().absoluteString(), "https://staging.example");
        }
        EXPECT_EQ(apiBaseURL().absoluteString(), "http://127.0.0.1:8080");
    }
    EXPECT_EQ(apiBaseURL(), before);
}

// The environment is read once per process, so each case runs in a process
// of its own.
TEST(ServiceHostsDeathTest, APIBaseURLAndItsOverride) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            unsetenv("KESTROVA_API_BASE_URL");
            std::_Exit(apiBaseURL().appendingPathComponent("/auth").absoluteString() ==
                               "https://api.kestrova.example/auth"
                           ? 0
                           : 1);
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EXIT(
        {
            setenv("KESTROVA_API_BASE_URL", "http://127.0.0.1:8080", 1);
            std::_Exit(apiBaseURL().appendingPathComponent("/auth").absoluteString() == "http://127.0.0.1:8080/auth"
                           ? 0
                           : 1);
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EXIT(
        {
            setenv("KESTROVA_API_BASE_URL", "http://127.0.0.1:8080", 1);
            const auto first = apiBaseURL();
            setenv("KESTROVA_API_BASE_URL", "http://127.0.0.1:9090", 1);
            std::_Exit(apiBaseURL() == first ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
    for (const char* bad : {"not a url", "ftp://host/", "/relative", ""}) {
        EXPECT_EXIT(
            {
                setenv("KESTROVA_API_BASE_URL", bad, 1);
                (void)apiBaseURL();
            },
            testing::ExitedWithCode(EXIT_FAILURE), "KESTROVA_API_BASE_URL")
            << bad;
    }
}

}  // namespace
}  // namespace kestrova
