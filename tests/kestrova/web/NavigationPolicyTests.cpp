#include "kestrova/web/NavigationPolicy.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace kestrova {
namespace {

using webkit::EventModifierFlags;
using webkit::NavigationActionPolicy;
using webkit::NavigationResponsePolicy;
using webkit::NavigationType;
using Effect = NavigationPolicy::Effect;

constexpr std::uint8_t noKeys = 0;
constexpr std::uint8_t control = EventModifierFlags::control;
constexpr std::uint8_t shift = EventModifierFlags::shift;
constexpr std::uint8_t super = EventModifierFlags::super;
constexpr std::uint8_t alt = EventModifierFlags::option;
constexpr std::uint8_t capsLock = EventModifierFlags::capsLock;

// `unknown`: a frame the engine cannot tell apart from the main frame.
enum class Frame { main, sub, unknown, absent };

struct ActionCase {
    const char* name;
    NavigationType type;
    std::optional<std::string> url;
    Frame frame;
    int button;
    int modifiers;
    bool download;
    bool isBeta;
    NavigationActionPolicy policy;
    Effect effect;
    std::optional<std::string> effectURL;
};

webkit::NavigationAction actionOf(const ActionCase& c) {
    webkit::NavigationAction action;
    action.navigationType = c.type;
    if (c.url) {
        action.requestURL = foundation::URL::fromString(*c.url);
    }
    action.targetFrame = c.frame == Frame::absent ? std::nullopt
                                                : std::optional<webkit::FrameInfo>(webkit::FrameInfo{c.frame != Frame::sub});
    action.targetFrameIsKnown = c.frame != Frame::unknown;
    action.buttonNumber = c.button;
    action.modifierFlags.bits = static_cast<std::uint8_t>(c.modifiers);
    action.shouldPerformDownload = c.download;
    return action;
}

TEST(NavigationPolicyTest, ActionsFollowTheFirstMatchingRule) {
    using enum NavigationType;
    const auto cancel = NavigationActionPolicy::cancel;
    const auto allow = NavigationActionPolicy::allow;
    const auto download = NavigationActionPolicy::download;
    const std::vector<ActionCase> cases = {
        {"own host link is reloaded in place", linkActivated, "https://kestrova.example/ann?x=1#f", Frame::main, 1, noKeys,
         false, false, cancel, Effect::loadInPlace, "https://kestrova.example/ann?x=1#f"},
        {"own host link goes to the chosen beta host", linkActivated, "https://kestrova.example/ann", Frame::main, 1,
         noKeys, false, true, cancel, Effect::loadInPlace, "https://beta.kestrova.example/ann"},
        {"beta link goes back to production", linkActivated, "https://beta.kestrova.example/a", Frame::main, 1, noKeys,
         false, false, cancel, Effect::loadInPlace, "https://kestrova.example/a"},
        {"api host link stays in the window unchanged", linkActivated, "https://api.kestrova.example/p", Frame::main, 1,
         noKeys, false, true, cancel, Effect::loadInPlace, "https://api.kestrova.example/p"},
        {"foreign host goes to the browser", linkActivated, "https://example.org/x", Frame::main, 1, noKeys, false, false,
         cancel, Effect::openInWorkspace, "https://example.org/x"},
        {"another subdomain is foreign", linkActivated, "https://www.kestrova.example/", Frame::main, 1, noKeys, false,
         false, cancel, Effect::openInWorkspace, "https://www.kestrova.example/"},
        {"letter case makes a host foreign", linkActivated, "https://Kestrova.example/", Frame::main, 1, noKeys, false,
         false, cancel, Effect::openInWorkspace, "https://Kestrova.example/"},
        {"another port of the service's host is foreign", linkActivated, "https://kestrova.example:18100/", Frame::main,
         1, noKeys, false, false, cancel, Effect::openInWorkspace, "https://kestrova.example:18100/"},
        {"http on another port of the service's host is foreign", other, "http://kestrova.example:18100/", Frame::main,
         0, noKeys, false, false, cancel, Effect::openInWorkspace, "http://kestrova.example:18100/"},
        {"a script's http page of the service is loaded over https", other, "http://kestrova.example/x?y=1",
         Frame::main, 0, noKeys, false, false, cancel, Effect::loadInPlace, "https://kestrova.example/x?y=1"},
        {"an http form of the service is loaded over https on the chosen host", formSubmitted,
         "http://kestrova.example/f", Frame::main, 1, noKeys, false, true, cancel, Effect::loadInPlace,
         "https://beta.kestrova.example/f"},
        {"a control click on an http page of the service opens it over https", linkActivated,
         "http://kestrova.example/e/1", Frame::main, 1, control, false, false, cancel, Effect::openInApp,
         "https://kestrova.example/e/1"},
        {"an http page of the service in an unknown frame waits for its response", other, "http://kestrova.example/x",
         Frame::unknown, 0, noKeys, false, false, allow, Effect::none, std::nullopt},
        {"an http page of the service in an inner frame is allowed", other, "http://kestrova.example/x", Frame::sub, 0,
         noKeys, false, false, allow, Effect::none, std::nullopt},
        {"foreign script navigation without a frame goes to the browser", other, "https://example.org/", Frame::absent, 0,
         noKeys, false, false, cancel, Effect::openInWorkspace, "https://example.org/"},
        {"foreign document in an inner frame is allowed", other, "https://video.example.org/embed", Frame::sub, 0, noKeys,
         false, false, allow, Effect::none, std::nullopt},
        {"foreign document in an unknown frame waits for its response", other, "https://video.example.org/embed",
         Frame::unknown, 0, noKeys, false, false, allow, Effect::none, std::nullopt},
        {"foreign link in an unknown frame waits for its response", linkActivated, "https://example.org/x",
         Frame::unknown, 1, noKeys, false, false, allow, Effect::none, std::nullopt},
        {"own link in an unknown frame is reloaded in place", linkActivated, "https://kestrova.example/x",
         Frame::unknown, 1, noKeys, false, false, cancel, Effect::loadInPlace, "https://kestrova.example/x"},
        {"control click in an unknown frame opens a window", linkActivated, "https://kestrova.example/x",
         Frame::unknown, 1, control, false, false, cancel, Effect::openInApp, "https://kestrova.example/x"},
        {"own link in an inner frame is allowed", linkActivated, "https://kestrova.example/x", Frame::sub, 1, control,
         false, false, allow, Effect::none, std::nullopt},
        {"control click opens a window on the chosen host", linkActivated, "https://kestrova.example/e/1", Frame::main, 1,
         control, false, true, cancel, Effect::openInApp, "https://beta.kestrova.example/e/1"},
        {"control click with caps lock on still counts", linkActivated, "https://kestrova.example/e/1", Frame::main, 1,
         control | capsLock, false, false, cancel, Effect::openInApp, "https://kestrova.example/e/1"},
        {"control shift click is a plain link", linkActivated, "https://kestrova.example/e/1", Frame::main, 1,
         control | shift, false, false, cancel, Effect::loadInPlace, "https://kestrova.example/e/1"},
        {"control alt click is a plain link", linkActivated, "https://kestrova.example/e/1", Frame::main, 1,
         control | alt, false, false, cancel, Effect::loadInPlace, "https://kestrova.example/e/1"},
        {"super click is a plain link", linkActivated, "https://kestrova.example/e/1", Frame::main, 1, super, false,
         false, cancel, Effect::loadInPlace, "https://kestrova.example/e/1"},
        {"control held on a form submission is no command click", formSubmitted, "https://kestrova.example/f",
         Frame::main, 1, control, false, false, allow, Effect::none, std::nullopt},
        {"middle click opens a window", linkActivated, "https://kestrova.example/m", Frame::main, 4, noKeys, false, false,
         cancel, Effect::openInApp, "https://kestrova.example/m"},
        {"middle button opens a window whatever the type", other, "https://beta.kestrova.example/m", Frame::main, 4,
         noKeys, false, false, cancel, Effect::openInApp, "https://kestrova.example/m"},
        {"middle click on a foreign link goes to the browser", linkActivated, "https://example.org/", Frame::main, 4,
         noKeys, false, false, cancel, Effect::openInWorkspace, "https://example.org/"},
        {"control click on a foreign link goes to the browser", linkActivated, "https://example.org/", Frame::main, 1,
         control, false, false, cancel, Effect::openInWorkspace, "https://example.org/"},
        {"a link without a host is loaded in place", linkActivated, "mailto:ann@example.org", Frame::main, 1, noKeys,
         false, false, cancel, Effect::loadInPlace, "mailto:ann@example.org"},
        {"a link without a URL is allowed", linkActivated, std::nullopt, Frame::main, 1, noKeys, false, false, allow,
         Effect::none, std::nullopt},
        {"middle click without a URL is allowed", linkActivated, std::nullopt, Frame::main, 4, noKeys, false, false,
         allow, Effect::none, std::nullopt},
        {"form submission is allowed", formSubmitted, "https://kestrova.example/f", Frame::main, 0, noKeys, false, true,
         allow, Effect::none, std::nullopt},
        {"script navigation is allowed", other, "https://kestrova.example/s", Frame::main, 0, noKeys, false, false, allow,
         Effect::none, std::nullopt},
        {"reload is allowed", reload, "https://kestrova.example/r", Frame::main, 0, noKeys, false, false, allow,
         Effect::none, std::nullopt},
        {"back and forward is allowed", backForward, "https://kestrova.example/b", Frame::main, 0, noKeys, false, false,
         allow, Effect::none, std::nullopt},
        {"the page's download request downloads", other, "https://kestrova.example/file.pdf", Frame::main, 0, noKeys,
         true, false, download, Effect::none, std::nullopt},
        {"a download link is still loaded in place first", linkActivated, "https://kestrova.example/file.pdf",
         Frame::main, 1, noKeys, true, false, cancel, Effect::loadInPlace, "https://kestrova.example/file.pdf"},
    };
    for (const auto& c : cases) {
        const auto decision = NavigationPolicy::decideAction(actionOf(c), c.isBeta);
        EXPECT_EQ(decision.policy, c.policy) << c.name;
        EXPECT_EQ(decision.effect, c.effect) << c.name;
        EXPECT_EQ(decision.url ? std::optional<std::string>(decision.url->absoluteString()) : std::nullopt,
                  c.effectURL)
            << c.name;
    }
}

TEST(NavigationPolicyTest, AForeignMainFramePageGoesToTheBrowserAndOnlyHTMLThatTheViewCanShowIsShown) {
    const auto allow = NavigationResponsePolicy::allow;
    const auto download = NavigationResponsePolicy::download;
    const auto cancel = NavigationResponsePolicy::cancel;
    struct Case {
        std::optional<std::string> mimeType;
        bool canShow;
        bool mainFrame;
        std::string url;
        NavigationResponsePolicy policy;
        Effect effect;
    };
    const std::string own = "https://kestrova.example/p";
    const std::vector<Case> cases = {
        {"text/html", true, true, own, allow, Effect::none},
        {"text/html", true, false, own, allow, Effect::none},
        {"text/html", false, true, own, download, Effect::none},
        {"TEXT/HTML", true, true, own, download, Effect::none},
        {"application/pdf", true, true, own, download, Effect::none},
        {"image/png", true, false, own, download, Effect::none},
        {"text/plain", true, true, own, download, Effect::none},
        {"application/xhtml+xml", true, true, own, download, Effect::none},
        {std::nullopt, true, true, own, download, Effect::none},
        {std::nullopt, false, true, own, download, Effect::none},
        {"text/html", true, true, "https://api.kestrova.example/p", allow, Effect::none},
        {"text/html", true, true, "https://example.org/page", cancel, Effect::openInWorkspace},
        {"text/html", true, true, "https://kestrova.example:18100/", cancel, Effect::openInWorkspace},
        {"text/html", true, true, "http://kestrova.example:18100/", cancel, Effect::openInWorkspace},
        {"text/html", true, true, "http://kestrova.example/p", cancel, Effect::loadInPlace},
        {"text/html", true, false, "http://kestrova.example/p", allow, Effect::none},
        {"application/pdf", true, true, "https://cdn.example.org/f.pdf", cancel, Effect::openInWorkspace},
        {"text/html", true, false, "https://video.example.org/embed", allow, Effect::none},
        {"text/html", true, true, "about:blank", allow, Effect::none},
    };
    for (const auto& c : cases) {
        webkit::NavigationResponse response;
        response.url = foundation::URL::fromString(c.url);
        response.mimeType = c.mimeType;
        response.canShowMIMEType = c.canShow;
        response.isForMainFrame = c.mainFrame;
        const auto decision = NavigationPolicy::decideResponse(response, false);
        const auto name = c.url + " " + c.mimeType.value_or("none") + (c.mainFrame ? " main" : " inner");
        EXPECT_EQ(decision.policy, c.policy) << name;
        EXPECT_EQ(decision.effect, c.effect) << name;
        if (c.effect == Effect::openInWorkspace) {
            EXPECT_EQ(decision.url, response.url) << name;
        }
        if (c.effect == Effect::loadInPlace) {
            ASSERT_TRUE(decision.url.has_value()) << name;
            EXPECT_EQ(decision.url->absoluteString(), "https://kestrova.example/p") << name;
        }
    }
}

TEST(NavigationPolicyTest, NewWindowsOpenOwnDomainPagesInTheAppAndTheRestInTheBrowser) {
    struct Case {
        std::optional<std::string> url;
        Frame frame;
        Effect effect;
        std::optional<std::string> handedOn;  // when it is not the URL itself
    };
    const std::vector<Case> cases = {
        {"https://kestrova.example/a", Frame::absent, Effect::openInApp, std::nullopt},
        {"https://beta.kestrova.example/a", Frame::absent, Effect::openInApp, std::nullopt},
        {"https://api.kestrova.example/a", Frame::absent, Effect::openInApp, std::nullopt},
        {"http://kestrova.example/a", Frame::absent, Effect::openInApp, "https://kestrova.example/a"},
        {"https://www.kestrova.example/a", Frame::absent, Effect::openInWorkspace, std::nullopt},
        {"https://notkestrova.example.org/a", Frame::absent, Effect::openInWorkspace, std::nullopt},
        {"https://kestrova.example:18100/a", Frame::absent, Effect::openInWorkspace, std::nullopt},
        {"https://kestrova.example/a", Frame::sub, Effect::openInApp, std::nullopt},
        {"https://Kestrova.example/a", Frame::absent, Effect::openInWorkspace, std::nullopt},
        {"https://example.org/a", Frame::absent, Effect::openInWorkspace, std::nullopt},
        {"mailto:ann@example.org", Frame::absent, Effect::openInWorkspace, std::nullopt},
        {"https://kestrova.example/a", Frame::main, Effect::none, std::nullopt},
        {std::nullopt, Frame::absent, Effect::none, std::nullopt},
    };
    for (const auto& c : cases) {
        webkit::NavigationAction action;
        if (c.url) {
            action.requestURL = foundation::URL::fromString(*c.url);
        }
        action.targetFrame = c.frame == Frame::absent
                                 ? std::nullopt
                                 : std::optional<webkit::FrameInfo>(webkit::FrameInfo{c.frame == Frame::main});
        const auto decision = NavigationPolicy::decideNewWindow(action);
        EXPECT_EQ(decision.effect, c.effect) << c.url.value_or("none");
        if (c.effect != Effect::none) {
            // Handed on as it came (no move between the front ends), but over https.
            ASSERT_TRUE(decision.url.has_value());
            EXPECT_EQ(decision.url->absoluteString(), c.handedOn.value_or(*c.url));
        }
    }
}

TEST(NavigationPolicyTest, OnlyWebAndMailLinksThatThePersonStartedGoToTheDesktop) {
    struct Case {
        const char* url;
        bool userStarted;
        bool opens;
    };
    const Case cases[] = {
        {"https://example.org/", true, true},
        {"http://example.org/", true, true},
        {"mailto:ann@example.org", true, true},
        {"https://example.org/", false, false},
        {"smb://files.example.org/share", true, false},
        {"sftp://example.org/", true, false},
        {"ssh://example.org/", false, false},
        {"file:///etc/passwd", true, false},
        {"file:///home/", true, false},
        {"data:text/html,<script>alert(1)</script>", true, false},
        {"javascript:alert(1)", true, false},
        {"kestrova:///open?url=https://kestrova.example/", true, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NavigationPolicy::mayOpenOnDesktop(*foundation::URL::fromString(c.url), c.userStarted), c.opens)
            << c.url << (c.userStarted ? " clicked" : " by a script");
    }
}

}  // namespace
}  // namespace kestrova
