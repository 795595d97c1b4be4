#include "platform/runtime/foundation/core/Bundle.hpp"

#include "tests/support/ScratchDirectory.hpp"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(BundleTest, AProgramFindsTheResourcesOfItsOwnPrefixBeforeTheBuildTrees) {
    const testsupport::ScratchDirectory prefix;
    std::filesystem::create_directories(prefix / "bin");
    std::filesystem::create_directories(prefix / "share/kestrova");
    const auto installed = prefix.write("share/kestrova/publish.mp3", "installed");

    const auto bundle = foundation::Bundle::forExecutable(prefix / "bin/kestrova");
    EXPECT_EQ(bundle.urlForResource("publish", "mp3"), foundation::URL::fileURL(installed.string()));
    // What the prefix lacks comes from the build tree, where the build copies the shipped resources.
    const auto fromBuild = bundle.urlForResource("water1", "mp3");
    ASSERT_TRUE(fromBuild.has_value());
    EXPECT_TRUE(fromBuild->path().ends_with("/share/kestrova/water1.mp3")) << fromBuild->path();
    EXPECT_TRUE(std::filesystem::is_regular_file(fromBuild->path()));
}

TEST(BundleTest, OnlyFilesInsideTheResourceFoldersAreResources) {
    const testsupport::ScratchDirectory root;
    std::filesystem::create_directories(root / "resources/sub");
    root.write("secret.txt", "outside");
    root.write("resources/plain", "no extension");
    const foundation::Bundle bundle({root / "resources"});
    struct Case {
        const char* name;
        const char* extension;
        bool found;
    };
    for (const Case& c : {Case{"plain", "", true}, Case{"sub", "", false}, Case{"../secret", "txt", false},
                          Case{"..", "", false}, Case{"", "mp3", false}, Case{"missing", "mp3", false}}) {
        EXPECT_EQ(bundle.urlForResource(c.name, c.extension).has_value(), c.found) << c.name << "." << c.extension;
    }
}

}  // namespace
