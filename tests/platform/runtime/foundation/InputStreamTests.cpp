#include "platform/runtime/foundation/core/InputStream.hpp"

#include "tests/support/ScratchDirectory.hpp"
#include "tests/support/UnprivilegedChild.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <vector>

#include <sys/stat.h>

namespace foundation {
namespace {

using testing::HasSubstr;
using testsupport::ScratchDirectory;

std::string patterned(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>((i * 31 + 7) % 251);
    }
    return bytes;
}

URL fileURLOf(const std::filesystem::path& path) {
    return URL::fileURL(path.string());
}

// Reads the way a writer of a form does: while bytes are available.
std::string drain(InputStream& stream, std::size_t chunk) {
    std::string result;
    std::vector<std::uint8_t> buffer(chunk);
    while (stream.hasBytesAvailable()) {
        const auto count = stream.read(buffer.data(), buffer.size());
        if (count <= 0) {
            EXPECT_EQ(count, 0);
            break;
        }
        EXPECT_LE(static_cast<std::size_t>(count), chunk);
        result.append(reinterpret_cast<const char*>(buffer.data()), static_cast<std::size_t>(count));
    }
    return result;
}

TEST(InputStream, YieldsItsBytesInChunksOfAtMostTheLengthAsked) {
    struct Case {
        const char* source;
        std::string contents;
        bool fromFile;
    };
    const Case cases[] = {
        {"no bytes", "", false},
        {"a few bytes", "abc", false},
        {"bytes over several chunks", patterned(3000), false},
        {"an empty file", "", true},
        {"a file over several chunks", patterned(3000), true},
    };
    const ScratchDirectory directory;
    for (const auto& c : cases) {
        for (const std::size_t chunk : {std::size_t{1}, std::size_t{1024}}) {
            SCOPED_TRACE(testing::Message() << c.source << ", chunks of " << chunk);
            auto stream = c.fromFile ? InputStream::fromFile(fileURLOf(directory.write("body", c.contents)))
                                     : std::optional<InputStream>(InputStream(Data(c.contents)));
            ASSERT_TRUE(stream.has_value());
            EXPECT_FALSE(stream->hasBytesAvailable()) << "before open";
            stream->open();
            EXPECT_EQ(drain(*stream, chunk), c.contents);
            EXPECT_FALSE(stream->hasBytesAvailable());
            std::uint8_t byte = 0;
            EXPECT_EQ(stream->read(&byte, 1), 0);
            EXPECT_FALSE(stream->streamError().has_value());
            stream->close();
        }
    }
}

TEST(InputStream, MakesNoStreamForWhatCannotBeOpened) {
    const ScratchDirectory directory;
    EXPECT_FALSE(InputStream::fromFile(*URL::fromString("https://files.example/photo.jpg")));
    EXPECT_FALSE(InputStream::fromFile(URL::fileURL((directory / "missing").string())));

    const auto outcome = testsupport::UnprivilegedChild::run([] {
        const ScratchDirectory own;
        const auto file = own.write("secret", "private");
        if (!InputStream::fromFile(URL::fileURL(file.string()))) {
            return std::string("a readable file gave no stream");
        }
        ::chmod(file.c_str(), 0);
        return std::string(InputStream::fromFile(URL::fileURL(file.string())) ? "stream" : "none");
    });
    EXPECT_EQ(outcome, "none");
}

TEST(InputStream, ReadsTheFileItOpenedWhateverThePathNamesLater) {
    const ScratchDirectory directory;
    const auto path = directory.write("block", "checked when added");
    auto stream = InputStream::fromFile(URL::fileURL(path.string()));
    ASSERT_TRUE(stream.has_value());
    std::filesystem::rename(directory.write("other", "swapped in later"), path);
    stream->open();
    EXPECT_EQ(drain(*stream, 1024), "checked when added");
}

TEST(InputStream, ReportsAReadFailureWithTheFileAndTheReason) {
    struct Case {
        const char* what;
        std::function<std::string(const ScratchDirectory&)> path;
        int error;
    };
    const Case cases[] = {
        {"a directory", [](const ScratchDirectory& d) { return d.path().string(); }, EISDIR},
        // Address 0 of the process is never mapped.
        {"unmapped memory", [](const ScratchDirectory&) { return std::string("/proc/self/mem"); }, EIO},
    };
    const ScratchDirectory directory;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto path = c.path(directory);
        auto stream = InputStream::fromFile(URL::fileURL(path));
        ASSERT_TRUE(stream.has_value());
        stream->open();
        std::uint8_t buffer[16];
        EXPECT_EQ(stream->read(buffer, sizeof buffer), -1);
        ASSERT_TRUE(stream->streamError().has_value());
        EXPECT_EQ(stream->streamError()->code().value(), c.error);
        EXPECT_THAT(stream->streamError()->what(), HasSubstr("\"" + path + "\""));
        EXPECT_FALSE(stream->hasBytesAvailable());
        EXPECT_EQ(stream->read(buffer, sizeof buffer), -1) << "a failed stream stays failed";
    }
}

TEST(InputStream, ReadsNothingUnlessOpen) {
    const std::function<void(InputStream&)> beforeReading[] = {
        [](InputStream&) {},
        [](InputStream& stream) {
            stream.open();
            stream.close();
        },
    };
    for (const auto& prepare : beforeReading) {
        InputStream stream(Data(std::string("abc")));
        prepare(stream);
        std::uint8_t buffer[4];
        EXPECT_FALSE(stream.hasBytesAvailable());
        EXPECT_EQ(stream.read(buffer, sizeof buffer), -1);
        ASSERT_TRUE(stream.streamError().has_value());
        EXPECT_EQ(stream.streamError()->code().value(), EBADF);
    }
}

}  // namespace
}  // namespace foundation
