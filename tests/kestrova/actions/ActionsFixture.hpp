#pragma once

#include "kestrova/actions/Actions.hpp"
#include "kestrova/model/SharedDefaults.hpp"
#include "platform/kits/appintents/IntentCatalogue.hpp"
#include "platform/runtime/foundation/defaults/UserDefaults.hpp"
#include "tests/support/MainLoop.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrova::actionstest {

// The application's catalogue, with nothing signed in to start with.
class ActionsTest : public testing::Test {
protected:
    ActionsTest() { registerActions(catalogue_); }

    void SetUp() override { signOut(); }
    void TearDown() override { signOut(); }

    static void signOut() {
        sharedDefaults().removeObject("token");
        sharedDefaults().removeObject("user");
    }

    appintents::IntentResult perform(const std::string& title, const appintents::IntentValues& values) {
        return testsupport::MainLoop::runOnMainActor([&]() -> concurrency::Task<appintents::IntentResult> {
            co_return co_await catalogue_.perform(title, values);
        });
    }

    // The text the user is shown when the run fails.
    std::string failureOf(const std::string& title, const appintents::IntentValues& values) {
        try {
            perform(title, values);
        } catch (const appintents::IntentFailure& failure) {
            return failure.what();
        }
        ADD_FAILURE() << title << " did not fail";
        return {};
    }

    // The entity queries, as a runner asks them.
    std::vector<appintents::EntityValue> entities(const std::string& typeName,
                                                  const std::vector<std::string>& identifiers) {
        return testsupport::MainLoop::runOnMainActor([&]() -> concurrency::Task<std::vector<appintents::EntityValue>> {
            co_return co_await catalogue_.entities(typeName, identifiers);
        });
    }
    appintents::EntityCollection suggested(const std::string& typeName) {
        return testsupport::MainLoop::runOnMainActor([&]() -> concurrency::Task<appintents::EntityCollection> {
            co_return co_await catalogue_.suggestedEntities(typeName);
        });
    }
    appintents::EntityCollection matching(const std::string& typeName, const std::string& text) {
        return testsupport::MainLoop::runOnMainActor([&]() -> concurrency::Task<appintents::EntityCollection> {
            co_return co_await catalogue_.entitiesMatching(typeName, text);
        });
    }

    appintents::IntentCatalogue catalogue_;
};

}  // namespace kestrova::actionstest
