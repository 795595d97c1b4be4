#pragma once

#include "kestrova/model/AppGroupDefaults.hpp"
#include "kestrova/model/SharedDefaults.hpp"
#include "platform/runtime/foundation/defaults/UserDefaults.hpp"
#include "tests/kestrova/networking/APIServer.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::testing {

// The shared defaults as the application leaves them: a token and a cached
// user, or neither. Each test starts signed out.
class ExtensionTest : public ::testing::Test {
protected:
    void SetUp() override {
        (void)kestrova::apitest::api();
        application().removeToken();
        application().removeUser();
    }

    // The contract as the application writes it.
    static kestrova::AppGroupDefaults application() { return kestrova::AppGroupDefaults::shared(); }

    static void signIn(const std::string& token = "t0k") { application().setToken(token); }
    static void storeUser(std::string_view json) {
        kestrova::sharedDefaults().set(foundation::Data(json), "user");
    }
    // The user as given, or no user at all.
    static void replaceUser(std::optional<std::string_view> json) {
        application().removeUser();
        if (json) {
            storeUser(*json);
        }
    }

    // Requests the server has received for the path so far.
    static std::size_t requestsTo(std::string_view path) { return kestrova::apitest::requestsTo(path); }
};

// Stored tokens that would end the Cookie header of a request and forge
// what follows it.
inline const std::vector<std::string> forgingTokens = {"t0k\r\nX-Forged: 1", "t0k\r", std::string("t0k\0", 4)};

// Four journals in stored order: Music (not daily), Workout (daily, with an
// emoji), art (not daily), Reading (daily).
inline constexpr std::string_view fourJournals =
    R"({"id":1,"username":"ann","journals":[)"
    R"({"id":3,"title":"Music","isDaily":false,"slug":"music","streak":4},)"
    R"({"id":7,"title":"Workout","isDaily":true,"iconEmoji":"🏃"},)"
    R"({"id":9,"title":"art","isDaily":false,"iconEmoji":null},)"
    R"({"id":-4,"title":"Reading","isDaily":true}]})";

}  // namespace orvane::testing
