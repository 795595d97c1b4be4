#include "kestrova/networking/ServiceHosts.hpp"

#include "kestrova/networking/APIBaseURLOverride.hpp"
#include "platform/runtime/foundation/core/URLComponents.hpp"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <optional>
#include <string>

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

// Only the service's own origin is its page; http on one of its hosts is taken over https, and only on
// the port https would have.
TEST(ServiceHosts, OnlyTheServicesOriginIsItsPageAndHttpOnItsHostsIsUpgraded) {
    struct Case {
        const char* url;
        bool isOrigin;
        const char* page;  // null for none
    };
    const Case cases[] = {
        {"https://kestrova.example/ann?x=1#f", true, "https://kestrova.example/ann?x=1#f"},
        {"https://beta.kestrova.example/home", true, "https://beta.kestrova.example/home"},
        {"https://api.kestrova.example/auth", true, "https://api.kestrova.example/auth"},
        {"https://kestrova.example:443/home", true, "https://kestrova.example:443/home"},
        {"HTTPS://kestrova.example/home", true, "HTTPS://kestrova.example/home"},
        {"https://kestrova.example:8443/home", false, nullptr},
        {"http://kestrova.example/home?x=1#f", false, "https://kestrova.example/home?x=1#f"},
        {"http://kestrova.example:80/home", false, "https://kestrova.example/home"},
        {"http://beta.kestrova.example/", false, "https://beta.kestrova.example/"},
        {"http://kestrova.example:18100/", false, nullptr},
        {"https://www.kestrova.example/", false, nullptr},
        {"https://Kestrova.example/", false, nullptr},
        {"https://kestrova.example.evil.example/", false, nullptr},
        {"https://evil.example/?kestrova.example", false, nullptr},
        {"javascript://kestrova.example/%0Awindow.webkit.messageHandlers.onLogout.postMessage(1)", false, nullptr},
        {"file:///home/ann/kestrova.example", false, nullptr},
        {"data:text/html,kestrova.example", false, nullptr},
        {"kestrova:///open?url=https://kestrova.example/", false, nullptr},
        {"ftp://kestrova.example/", false, nullptr},
    };
    for (const auto& c : cases) {
        const auto url = *foundation::URL::fromString(c.url);
        EXPECT_EQ(isServiceOrigin(url), c.isOrigin) << c.url;
        const auto page = servicePage(url);
        EXPECT_EQ(page ? std::optional<std::string>(page->absoluteString()) : std::nullopt,
                  c.page ? std::optional<std::string>(c.page) : std::nullopt)
            << c.url;
        if (page) {
            EXPECT_TRUE(isServiceOrigin(*page)) << c.url;
        }
    }
}

// Built from the hosts and the port this build was made for, so that it holds for every deployment.
TEST(ServiceHosts, NoLookAlikeOfTheServicesOriginIsTakenForIt) {
    const std::string host(webHost());
    const auto port = foundation::URLComponents(webBaseURL()).port();
    const std::string portPart = port ? ":" + std::to_string(*port) : "";
    const std::string authority = host + portPart;
    const std::string otherPort = ":" + std::to_string(port.value_or(443) + 1);
    std::string upperCase = host;
    for (auto& letter : upperCase) {
        letter = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    }
    struct Case {
        std::string url;
        bool isOrigin;
        bool hasPage;  // over https, taken over from http
    };
    const Case cases[] = {
        {"https://" + authority + "/home", true, true},
        {"https://" + std::string(betaWebHost()) + portPart + "/home", true, true},
        {"https://" + host + ".evil.org/", false, false},
        {"https://evil" + authority + "/", false, false},
        {"https://evil." + authority + "/", false, false},
        {"https://" + upperCase + portPart + "/", false, false},
        {"https://" + host + "." + portPart + "/", false, false},
        {"https://" + host + otherPort + "/", false, false},
        {"http://" + authority + "/", false, true},
        {"https://ann@" + authority + "/", false, false},
        {"https://ann:secret@" + authority + "/", false, false},
        {"http://ann@" + authority + "/", false, false},
        {"https://" + authority + "@evil.org/", false, false},
        {"https://127.0.0.1" + portPart + "/", false, false},
        {"https://[::1]" + portPart + "/", false, false},
        {"https://" + host.substr(0, host.find('.')) + "%2E" + host.substr(host.find('.') + 1) +
             portPart + "/",
         false, false},
    };
    for (const auto& c : cases) {
        const auto url = foundation::URL::fromString(c.url);
        ASSERT_TRUE(url.has_value()) << c.url;
        EXPECT_EQ(isServiceOrigin(*url), c.isOrigin) << c.url;
        EXPECT_EQ(servicePage(*url).has_value(), c.hasPage) << c.url;
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
