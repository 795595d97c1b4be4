#include "platform/runtime/foundation/core/FileManager.hpp"
#include "platform/runtime/foundation/core/FileManagerError.hpp"

#include "tests/support/ScopedEnvironment.hpp"
#include "tests/support/ScratchDirectory.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <glib.h>

#include <cerrno>
#include <filesystem>
#include <optional>

namespace foundation {
namespace {

using testing::HasSubstr;
using testsupport::ScratchDirectory;

// Files, a directory, links to both and a dangling link, so that each
// question meets every kind of item it can be asked about.
class FileManagerTest : public testing::Test {
protected:
    void SetUp() override {
        directory_.write("file", "12345");
        directory_.write("empty", "");
        std::filesystem::create_directory(directory_ / "folder");
        directory_.write("folder/inside", "x");
        std::filesystem::create_symlink(directory_ / "file", directory_ / "link-to-file");
        std::filesystem::create_symlink(directory_ / "folder", directory_ / "link-to-folder");
        std::filesystem::create_symlink(directory_ / "nowhere", directory_ / "dangling");
    }

    [[nodiscard]] std::string pathOf(std::string_view name) const { return (directory_ / name).string(); }

    FileManager& manager_ = FileManager::defaultManager();
    ScratchDirectory directory_;
};

TEST_F(FileManagerTest, TellsWhetherAnItemExistsAndIsADirectory) {
    struct Case {
        const char* name;
        bool exists;
        bool isDirectory;
    };
    const Case cases[] = {
        {"file", true, false},         {"empty", true, false},   {"folder", true, true},
        {"link-to-file", true, false}, {"link-to-folder", true, true}, {"dangling", false, false},
        {"missing", false, false},     {"file/below", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        bool isDirectory = !c.isDirectory;
        EXPECT_EQ(manager_.fileExists(pathOf(c.name), &isDirectory), c.exists);
        if (c.exists) {
            EXPECT_EQ(isDirectory, c.isDirectory);
        }
        EXPECT_EQ(manager_.fileExists(pathOf(c.name)), c.exists);
        EXPECT_EQ(manager_.checkPromisedItemIsReachable(URL::fileURL(pathOf(c.name))), c.exists);
    }
    EXPECT_FALSE(manager_.checkPromisedItemIsReachable(*URL::fromString("https://files.example/file")));
}

TEST_F(FileManagerTest, GivesTheByteSizeOfRegularFilesOnly) {
    struct Case {
        std::string path;
        std::optional<std::int64_t> size;
    };
    const Case cases[] = {
        {pathOf("file"), 5},
        {pathOf("empty"), 0},
        {pathOf("link-to-file"), 5},
        {pathOf("folder"), std::nullopt},
        // Reading a device never ends, or ends at once: no size says which.
        {"/dev/zero", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(manager_.attributesOfItem(c.path).size, c.size);
    }
}

TEST_F(FileManagerTest, ReportsAttributesItCannotRead) {
    for (const char* name : {"missing", "dangling", "file/below"}) {
        SCOPED_TRACE(name);
        try {
            (void)manager_.attributesOfItem(pathOf(name));
            ADD_FAILURE() << "no error";
        } catch (const FileManagerError& error) {
            EXPECT_NE(error.code().value(), 0);
            EXPECT_THAT(error.what(), HasSubstr("\"" + pathOf(name) + "\""));
        }
    }
}

TEST_F(FileManagerTest, RemovesAnItemWithEverythingInsideButNotWhatALinkNames) {
    for (const char* name : {"file", "folder", "link-to-file", "dangling"}) {
        SCOPED_TRACE(name);
        manager_.removeItem(URL::fileURL(pathOf(name)));
        EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(pathOf(name))));
    }
    EXPECT_TRUE(std::filesystem::is_symlink(pathOf("link-to-folder")));
    EXPECT_TRUE(std::filesystem::exists(pathOf("empty")));
}

TEST_F(FileManagerTest, ReportsWhatItCannotRemove) {
    struct Case {
        URL url;
        int error;
    };
    const Case cases[] = {
        {URL::fileURL(pathOf("missing")), ENOENT},
        {*URL::fromString("https://files.example/file"), EINVAL},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url.absoluteString());
        try {
            manager_.removeItem(c.url);
            ADD_FAILURE() << "no error";
        } catch (const FileManagerError& error) {
            EXPECT_EQ(error.code().value(), c.error);
        }
    }
}

TEST(FileManager, TemporaryDirectoryFollowsTMPDIR) {
    struct Case {
        std::optional<std::string> tmpdir;
        std::string url;
    };
    const Case cases[] = {
        {"/var/tmp/kestrova", "file:///var/tmp/kestrova/"},
        {"/var/tmp/kestrova/", "file:///var/tmp/kestrova/"},
        {"", "file:///tmp/"},
        {std::nullopt, "file:///tmp/"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tmpdir.value_or("(unset)"));
        testsupport::ScopedEnvironment environment;
        environment.set("TMPDIR", c.tmpdir);
        EXPECT_EQ(FileManager::defaultManager().temporaryDirectory().absoluteString(), c.url);
    }
}

// GLib reads the desktop's folders once; a test that changes them has it read them again, before and
// after, once the environment is back.
struct RereadDesktopFolders {
    RereadDesktopFolders() { g_reload_user_special_dirs_cache(); }
    ~RereadDesktopFolders() { g_reload_user_special_dirs_cache(); }
    RereadDesktopFolders(const RereadDesktopFolders&) = delete;
    RereadDesktopFolders& operator=(const RereadDesktopFolders&) = delete;
};

TEST(FileManager, TheDownloadsDirectoryIsTheFirstOfTheDesktopsFolderDownloadsAndHomeThatIsAFolder) {
    struct Case {
        const char* name;
        std::optional<std::string> desktopFolder;  // under the scratch directory; none: not named
        std::vector<std::string> folders;          // made under the scratch directory
        std::optional<std::string> expected;       // under the scratch directory; none: an error
    };
    const Case cases[] = {
        {"the desktop's folder", "Téléchargements", {"home", "home/Downloads", "Téléchargements"}, "Téléchargements"},
        {"the desktop's folder is missing", "gone", {"home", "home/Downloads"}, "home/Downloads"},
        {"the desktop names none", std::nullopt, {"home", "home/Downloads"}, "home/Downloads"},
        {"no Downloads folder", std::nullopt, {"home"}, "home"},
        {"no home folder either", "gone", {}, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchDirectory scratch;
        for (const auto& folder : c.folders) {
            std::filesystem::create_directories(scratch / folder);
        }
        if (c.desktopFolder) {
            scratch.write("user-dirs.dirs", "XDG_DOWNLOAD_DIR=\"" + (scratch / *c.desktopFolder).string() + "\"\n");
        }
        const RereadDesktopFolders rereadAfterwards;
        testsupport::ScopedEnvironment environment;
        environment.set("HOME", (scratch / "home").string());
        environment.set("XDG_CONFIG_HOME", scratch.path().string());
        g_reload_user_special_dirs_cache();
        if (c.expected) {
            EXPECT_EQ(FileManager::defaultManager().downloadsDirectory().absoluteString(),
                      URL::fileURL((scratch / *c.expected).string(), true).absoluteString());
        } else {
            try {
                static_cast<void>(FileManager::defaultManager().downloadsDirectory());
                ADD_FAILURE() << "no folder, and no error";
            } catch (const FileManagerError& error) {
                EXPECT_EQ(error.code().value(), ENOENT);
                EXPECT_THAT(error.what(), HasSubstr((scratch / "home").string()));
            }
        }
    }
}

}  // namespace
}  // namespace foundation
