#include "kestrova/shell/Kestrova.hpp"

#include "platform/backends/headless/HeadlessBackend.hpp"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

// What the About window shows of the application: its name, and the version the build was made as.
TEST(KestrovaTest, TheApplicationIsKestrovaAtTheVersionOfTheBuild) {
    Kestrova application;
    const ui::App app = application.body();
    EXPECT_EQ(app.name, "Kestrova");
    EXPECT_EQ(app.version, KESTROVA_PROJECT_VERSION);
    EXPECT_FALSE(app.version.empty());
}

// Other programs reach the application's actions from when the application is made.
TEST(KestrovaTest, TheApplicationServesItsActionsFromWhenItIsMade) {
    Kestrova application;
    EXPECT_EQ(headless::HeadlessBackend::installed().intentService().served(), &application.intentCatalogue);
}

}  // namespace
}  // namespace kestrova
