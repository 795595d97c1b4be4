#include "platform/runtime/foundation/core/OutputStream.hpp"

#include "tests/support/ScopedFileSizeLimit.hpp"
#include "tests/support/ScratchDirectory.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <string_view>

#include <sys/stat.h>

namespace foundation {
namespace {

using testing::HasSubstr;
using testsupport::ScratchDirectory;

mode_t permissionsOf(const std::filesystem::path& path) {
    struct stat status {};
    EXPECT_EQ(::lstat(path.c_str(), &status), 0) << path;
    return status.st_mode & 07777;
}

std::ptrdiff_t write(OutputStream& stream, std::string_view text) {
    return stream.write(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

class ScopedUmask {
public:
    explicit ScopedUmask(mode_t mask) : previous_(::umask(mask)) {}
    ~ScopedUmask() { ::umask(previous_); }
    ScopedUmask(const ScopedUmask&) = delete;
    ScopedUmask& operator=(const ScopedUmask&) = delete;

private:
    mode_t previous_;
};

TEST(OutputStream, MakesNoStreamForAURLThatIsNoFile) {
    EXPECT_FALSE(OutputStream::toFile(*URL::fromString("https://api.example/entries/create")));
}

TEST(OutputStream, ReplacesTheFileAndLeavesItToItsOwnerAlone) {
    using Existing = std::pair<std::string, mode_t>;
    struct Case {
        const char* what;
        mode_t umask;
        std::optional<Existing> existing;
    };
    const Case cases[] = {
        {"a new file", 022, std::nullopt},
        {"a new file under a permissive umask", 0, std::nullopt},
        {"a longer file that everybody could read", 022, Existing("old and longer", 0644)},
        {"a private file", 022, Existing("old", 0600)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const ScratchDirectory directory;
        const auto path = directory / "body.tmp";
        if (c.existing) {
            directory.write("body.tmp", c.existing->first);
            ASSERT_EQ(::chmod(path.c_str(), c.existing->second), 0);
        }
        const ScopedUmask mask(c.umask);
        auto stream = OutputStream::toFile(URL::fileURL(path.string()));
        ASSERT_TRUE(stream.has_value());
        EXPECT_FALSE(std::filesystem::exists(path) && !c.existing) << "created before open";
        stream->open();
        EXPECT_TRUE(stream->hasSpaceAvailable());
        EXPECT_EQ(write(*stream, "new"), 3);
        stream->close();
        EXPECT_FALSE(stream->streamError().has_value());
        EXPECT_EQ(ScratchDirectory::read(path), "new");
        EXPECT_EQ(permissionsOf(path), 0600);
    }
}

TEST(OutputStream, ReportsAFileItCannotOpenAndWritesNothing) {
    struct Case {
        const char* what;
        std::function<std::filesystem::path(const ScratchDirectory&)> target;
        int error;
    };
    const Case cases[] = {
        {"a missing directory", [](const ScratchDirectory& d) { return d / "missing" / "body.tmp"; }, ENOENT},
        {"a directory", [](const ScratchDirectory& d) { return d.path(); }, EISDIR},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const ScratchDirectory directory;
        const auto path = c.target(directory);
        auto stream = OutputStream::toFile(URL::fileURL(path.string()));
        ASSERT_TRUE(stream.has_value());
        stream->open();
        ASSERT_TRUE(stream->streamError().has_value());
        EXPECT_EQ(stream->streamError()->code().value(), c.error);
        // Appended: GCC 12 at -O3 misreports a literal added in front of a std::string.
        const std::string quoted = std::string(1, '"').append(path.string()).append(1, '"');
        EXPECT_THAT(stream->streamError()->what(), HasSubstr(quoted));
        EXPECT_FALSE(stream->hasSpaceAvailable());
        EXPECT_EQ(write(*stream, "x"), -1);
        stream->close();
    }
}

TEST(OutputStream, LeavesTheTargetOfALinkAlone) {
    const ScratchDirectory directory;
    const auto target = directory.write("target", "untouched");
    ASSERT_EQ(::chmod(target.c_str(), 0644), 0);
    std::filesystem::create_symlink(target, directory / "link");
    auto stream = OutputStream::toFile(URL::fileURL((directory / "link").string()));
    stream->open();
    ASSERT_TRUE(stream->streamError().has_value());
    EXPECT_EQ(stream->streamError()->code().value(), ELOOP);
    EXPECT_EQ(write(*stream, "x"), -1);
    stream->close();
    EXPECT_EQ(ScratchDirectory::read(target), "untouched");
    EXPECT_EQ(permissionsOf(target), 0644);
}

TEST(OutputStream, ReportsAFullDiskInsteadOfDroppingBytes) {
    constexpr std::size_t limit = 4096;
    struct Case {
        const char* what;
        bool limited;
        int error;
    };
    const Case cases[] = {
        {"/dev/full", false, ENOSPC},
        {"a file past its size limit", true, EFBIG},
    };
    const ScratchDirectory directory;
    const std::string chunk(1000, 'e');
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = c.limited ? (directory / "body.tmp").string() : "/dev/full";
        auto stream = OutputStream::toFile(URL::fileURL(path));
        ASSERT_TRUE(stream.has_value());
        std::size_t accepted = 0;
        {
            std::optional<testsupport::ScopedFileSizeLimit> sizeLimit;
            if (c.limited) {
                sizeLimit.emplace(limit);
            }
            stream->open();
            for (int i = 0; i < 10; ++i) {
                const auto count = write(*stream, chunk);
                if (count < 0) {
                    break;
                }
                accepted += static_cast<std::size_t>(count);
            }
        }
        EXPECT_EQ(accepted, c.limited ? limit : 0);
        ASSERT_TRUE(stream->streamError().has_value());
        EXPECT_EQ(stream->streamError()->code().value(), c.error);
        EXPECT_THAT(stream->streamError()->what(), HasSubstr("cannot write to \"" + path + "\""));
        EXPECT_FALSE(stream->hasSpaceAvailable());
        stream->close();
        EXPECT_EQ(stream->streamError()->code().value(), c.error) << "closing keeps the failure";
    }
}

TEST(OutputStream, WritesNothingUnlessOpen) {
    const ScratchDirectory directory;
    const std::function<void(OutputStream&)> beforeWriting[] = {
        [](OutputStream&) {},
        [](OutputStream& stream) {
            stream.open();
            stream.close();
        },
    };
    for (const auto& prepare : beforeWriting) {
        auto stream = OutputStream::toFile(URL::fileURL((directory / "body.tmp").string()));
        prepare(*stream);
        EXPECT_FALSE(stream->hasSpaceAvailable());
        EXPECT_EQ(write(*stream, "x"), -1);
        ASSERT_TRUE(stream->streamError().has_value());
        EXPECT_EQ(stream->streamError()->code().value(), EBADF);
    }
}

}  // namespace
}  // namespace foundation
