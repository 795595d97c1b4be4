#include "platform/runtime/foundation/core/OutputStream.hpp"

#include "platform/runtime/foundation/core/UUID.hpp"

#include "tests/support/ScopedFileSizeLimit.hpp"
#include "tests/support/ScratchDirectory.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

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

std::string patterned(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>((i * 131 + i / 251) & 0xFF);
    }
    return bytes;
}

// Takes the input to its end through memory, as a writer does once the
// kernel's copy has stopped.
void copyTheRestThroughABuffer(InputStream& input, OutputStream& output) {
    std::uint8_t buffer[700];
    while (input.hasBytesAvailable()) {
        const auto count = input.read(buffer, sizeof buffer);
        ASSERT_GE(count, 0);
        if (count == 0) {
            break;
        }
        ASSERT_EQ(output.write(buffer, static_cast<std::size_t>(count)), count);
    }
}

// Whatever the kernel copies, and wherever it stops, the buffer goes on from
// the same place in both files: the output holds the input's bytes once each.
TEST(OutputStream, CopiesInTheKernelAndLeavesTheRestToABufferWhereItStopped) {
    const ScratchDirectory directory;
    const ScratchDirectory elsewhere;
    const std::string contents = patterned(5000);
    struct Case {
        const char* what;
        std::filesystem::path source;  // empty: bytes in memory
        std::size_t skipped;           // read through memory before the copy
        std::size_t maxLength;
        std::optional<std::size_t> copied;  // none: the kernel may or may not copy
    };
    std::vector<Case> cases = {
        {"a whole file beside the output", directory.write("whole.bin", contents), 0, 1 << 20, contents.size()},
        {"a file in another folder", elsewhere.write("other.bin", contents), 0, 1 << 20, contents.size()},
        {"a short copy", directory.write("short.bin", contents), 0, 1000, 1000},
        {"a copy from part-way through", directory.write("middle.bin", contents), 1234, 1000, 1000},
        {"a file already read to its end", directory.write("read.bin", contents), contents.size(), 1 << 20,
         std::nullopt},
        {"an empty file", directory.write("empty.bin", ""), 0, 1 << 20, std::nullopt},
        {"nothing asked for", directory.write("none.bin", contents), 0, 0, std::nullopt},
        {"bytes in memory", {}, 0, 1 << 20, std::nullopt},
    };
    if (std::filesystem::is_directory("/dev/shm")) {
        const auto path = std::filesystem::path("/dev/shm") / ("output-stream-" + UUID().uuidString());
        std::ofstream(path, std::ios::binary) << contents;
        cases.push_back({"a file on another file system", path, 0, 1 << 20, std::nullopt});
    }
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto input = c.source.empty() ? std::optional<InputStream>(InputStream(Data(contents)))
                                      : InputStream::fromFile(URL::fileURL(c.source.string()));
        ASSERT_TRUE(input.has_value());
        const auto target = directory / "copy.tmp";
        auto output = OutputStream::toFile(URL::fileURL(target.string()));
        input->open();
        output->open();
        std::vector<std::uint8_t> skipped(c.skipped);
        std::size_t read = 0;
        while (read < c.skipped) {
            const auto count = input->read(skipped.data() + read, c.skipped - read);
            ASSERT_GT(count, 0);
            read += static_cast<std::size_t>(count);
        }
        ASSERT_EQ(output->write(skipped.data(), skipped.size()), static_cast<std::ptrdiff_t>(skipped.size()));

        const auto copied = output->copyFrom(*input, c.maxLength);
        if (c.copied) {
            EXPECT_EQ(copied, c.copied);
        } else if (c.source.parent_path() != "/dev/shm") {
            EXPECT_EQ(copied, std::nullopt);
        }
        copyTheRestThroughABuffer(*input, *output);
        input->close();
        output->close();
        EXPECT_FALSE(input->streamError().has_value());
        EXPECT_FALSE(output->streamError().has_value());
        const std::string expected = c.source.empty() || c.source.filename() != "empty.bin" ? contents : "";
        EXPECT_TRUE(ScratchDirectory::read(target) == expected) << "the copy differs";
        if (c.source.parent_path() == "/dev/shm") {
            std::filesystem::remove(c.source);
        }
    }
}

// Space set aside is a hint for the writes: the file is as long as what was
// written into it, the writes fail where they would have failed without it,
// and a target that cannot reserve takes its writes all the same.
TEST(OutputStream, SpaceSetAsideNeverShowsInTheFile) {
    const ScratchDirectory directory;
    const std::string written(3000, 'w');
    constexpr std::size_t limit = 2048;
    struct Case {
        const char* what;
        std::string path;
        std::int64_t reserved;
        bool limited = false;
    };
    const Case cases[] = {
        {"more than is written", (directory / "more.tmp").string(), 1 << 20},
        {"less than is written", (directory / "less.tmp").string(), 100},
        {"nothing", (directory / "nothing.tmp").string(), 0},
        {"more than the file may grow to", (directory / "limited.tmp").string(), 1 << 20, true},
        {"on a device", "/dev/null", 1 << 20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto stream = OutputStream::toFile(URL::fileURL(c.path));
        std::size_t accepted = 0;
        {
            std::optional<testsupport::ScopedFileSizeLimit> sizeLimit;
            if (c.limited) {
                sizeLimit.emplace(limit);
            }
            stream->reserve(c.reserved);  // not open yet: nothing to reserve in
            stream->open();
            stream->reserve(c.reserved);
            EXPECT_FALSE(stream->streamError().has_value());
            EXPECT_TRUE(stream->hasSpaceAvailable());
            for (std::size_t offset = 0; offset < written.size();) {
                const auto count = stream->write(reinterpret_cast<const std::uint8_t*>(written.data()) + offset,
                                                 written.size() - offset);
                if (count < 0) {
                    break;
                }
                offset += static_cast<std::size_t>(count);
                accepted = offset;
            }
        }
        stream->close();
        EXPECT_EQ(accepted, c.limited ? limit : written.size());
        EXPECT_EQ(stream->streamError().has_value(), c.limited);
        if (c.path != "/dev/null") {
            EXPECT_EQ(std::filesystem::file_size(c.path), accepted);
            EXPECT_EQ(ScratchDirectory::read(c.path), written.substr(0, accepted));
        }
    }
}

}  // namespace
}  // namespace foundation
