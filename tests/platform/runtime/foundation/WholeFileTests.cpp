#include "platform/runtime/foundation/defaults/internal/WholeFile.hpp"

#include "tests/support/ForkedChild.hpp"
#include "tests/support/ScratchDirectory.hpp"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <set>
#include <string>
#include <system_error>

namespace foundation {
namespace {

using Outcome = WholeFile::Outcome;

std::set<std::string> namesIn(const std::filesystem::path& directory) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

struct Way {
    const char* name;
    Outcome (*create)(const std::filesystem::path&, std::string_view);
};

// The hidden file is what create() falls back to where a file system has no
// unnamed files; this machine's has them, so it is called here itself.
const Way ways[] = {
    {"unnamed first", &WholeFile::create},
    {"through a hidden file", &WholeFile::createThroughHiddenFile},
};

TEST(WholeFileTest, MakesAPrivateFileWithEveryByteAndNothingElse) {
    const std::string bytes = std::string("whole\0file", 10) + std::string(100'000, 'x');
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        const testsupport::ScratchDirectory directory;
        const auto file = directory / "suite.sqlite";
        const mode_t previous = ::umask(0777);
        const auto outcome = way.create(file, bytes);
        ::umask(previous);

        EXPECT_EQ(outcome, Outcome::created);
        EXPECT_TRUE(testsupport::ScratchDirectory::read(file) == bytes) << "the bytes differ";
        struct stat status {};
        ASSERT_EQ(::stat(file.c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 07777, 0600u);
        EXPECT_EQ(namesIn(directory.path()), std::set<std::string>{"suite.sqlite"});
    }
}

TEST(WholeFileTest, LeavesAFileThatIsThereAlone) {
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        const testsupport::ScratchDirectory directory;
        const auto file = directory.write("suite.sqlite", "");

        EXPECT_EQ(way.create(file, "new bytes"), Outcome::nameTaken);
        EXPECT_EQ(testsupport::ScratchDirectory::read(file), "");
        EXPECT_EQ(namesIn(directory.path()), std::set<std::string>{"suite.sqlite"});
    }
}

TEST(WholeFileTest, AFileThatCannotBeMadeLeavesNothing) {
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        const testsupport::ScratchDirectory directory;
        const auto file = directory / "suite.sqlite";
        EXPECT_THROW(way.create(directory / "missing" / "suite.sqlite", "bytes"), std::system_error);

        // A file-size limit stands in for a full disk, in the child alone.
        const auto message = testsupport::ForkedChild::run([&] {
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{1024, 1024};
            if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
                return std::string("cannot limit the file size");
            }
            try {
                way.create(file, std::string(4096, 'x'));
                return std::string("the file was made");
            } catch (const std::system_error& error) {
                return std::string(error.code() == std::errc::file_too_large ? "too large" : error.what());
            }
        });
        EXPECT_EQ(message, "too large");
        EXPECT_EQ(namesIn(directory.path()), std::set<std::string>());
    }
}

}  // namespace
}  // namespace foundation
