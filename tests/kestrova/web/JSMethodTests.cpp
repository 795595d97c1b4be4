#include "kestrova/web/JSMethod.hpp"

#include "platform/runtime/foundation/coding/DecodingError.hpp"
#include "platform/runtime/foundation/core/Hasher.hpp"
#include "platform/runtime/foundation/coding/JSONDecoder.hpp"
#include "platform/runtime/foundation/coding/JSONEncoder.hpp"
#include "kestrova/web/ScriptMessageBridge.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace kestrova {
namespace {

const std::vector<std::string> namesInOrder = {
    "onPublishedEntry",   "onRefreshData",           "onLogin",
    "onLogout",           "onPlayPublishSound",      "onPlayWaterPublishSound",
    "onPlayMessageSentSound", "onPlayMessageReceivedSound",
};

TEST(JSMethodTest, CasesComeInDeclarationOrderWithTheirNamesAsRawValues) {
    std::vector<std::string> rawValues;
    for (const JSMethod method : JSMethod::allCases()) {
        rawValues.emplace_back(method.rawValue());
        EXPECT_EQ(JSMethod::fromRawValue(method.rawValue()), method);
    }
    EXPECT_EQ(rawValues, namesInOrder);
    EXPECT_EQ(ScriptMessageBridge::registeredNames(), namesInOrder);
}

TEST(JSMethodTest, OnlyTheExactNameIsAMethod) {
    const std::vector<std::pair<std::string, std::optional<JSMethod>>> cases = {
        {"onLogin", JSMethod::onLogin},
        {"onlogin", std::nullopt},
        {"OnLogin", std::nullopt},
        {"onLogin ", std::nullopt},
        {"onPlaySound", std::nullopt},
        {"", std::nullopt},
        {std::string("onLogin\0", 8), std::nullopt},
    };
    for (const auto& [name, expected] : cases) {
        EXPECT_EQ(JSMethod::fromRawValue(name), expected) << '"' << name << '"';
    }
}

TEST(JSMethodTest, CodesAsItsRawText) {
    EXPECT_EQ(foundation::JSONEncoder().encode(JSMethod(JSMethod::onLogout)).view(), R"("onLogout")");
    EXPECT_EQ(foundation::JSONEncoder().encode(std::vector<JSMethod>{JSMethod::onLogin, JSMethod::onRefreshData}).view(),
              R"(["onLogin","onRefreshData"])");
    EXPECT_EQ(foundation::JSONDecoder().decode<JSMethod>(std::string_view(R"("onPlayWaterPublishSound")")),
              JSMethod::onPlayWaterPublishSound);

    struct Failure {
        const char* json;
        foundation::DecodingError::Kind kind;
    };
    for (const Failure& f : {Failure{R"("onlogout")", foundation::DecodingError::Kind::dataCorrupted},
                             Failure{R"("")", foundation::DecodingError::Kind::dataCorrupted},
                             Failure{"3", foundation::DecodingError::Kind::typeMismatch},
                             Failure{"null", foundation::DecodingError::Kind::valueNotFound}}) {
        try {
            static_cast<void>(foundation::JSONDecoder().decode<JSMethod>(std::string_view(f.json)));
            ADD_FAILURE() << f.json << " decoded";
        } catch (const foundation::DecodingError& error) {
            EXPECT_EQ(error.kind(), f.kind) << f.json;
        }
    }
}

TEST(JSMethodTest, EqualCasesHashAlike) {
    const auto hashOf = [](JSMethod method) {
        foundation::Hasher hasher;
        method.hash(hasher);
        return hasher.finalize();
    };
    EXPECT_EQ(hashOf(JSMethod::onLogin), hashOf(*JSMethod::fromRawValue("onLogin")));
    EXPECT_NE(hashOf(JSMethod::onLogin), hashOf(JSMethod::onLogout));
}

}  // namespace
}  // namespace kestrova
