#include "kestrova/networking/MultipartFormData.hpp"

#include "platform/runtime/foundation/core/StreamError.hpp"
#include "platform/runtime/foundation/core/UUID.hpp"
#include "tests/support/ResidentMemory.hpp"
#include "tests/support/ScopedFileSizeLimit.hpp"
#include "tests/support/ScratchDirectory.hpp"
#include "tests/support/UnprivilegedChild.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrova {
namespace {

using namespace std::string_literals;
using foundation::Data;
using foundation::URL;
using testing::HasSubstr;
using testsupport::ScratchDirectory;

// Expected bodies are written out in full, with {B} where the boundary goes.
std::string withBoundary(std::string text, const std::string& boundary) {
    for (auto at = text.find("{B}"); at != std::string::npos; at = text.find("{B}", at + boundary.size())) {
        text.replace(at, 3, boundary);
    }
    return text;
}

std::string patterned(std::size_t size) {
    std::string bytes(size, '\0');
    std::uint32_t state = 12345;
    for (auto& byte : bytes) {
        state = state * 1103515245 + 12345;
        byte = static_cast<char>(state >> 24);
    }
    return bytes;
}

class MultipartFormDataTest : public testing::Test {
protected:
    // Writes the form where an upload writes it: a file named after the boundary.
    std::string encoded(MultipartFormData& form) const {
        const auto path = directory_ / (form.boundary() + ".tmp");
        form.writeEncodedData(URL::fileURL(path.string()));
        return ScratchDirectory::read(path);
    }

    [[nodiscard]] URL fileWith(std::string_view name, std::string_view contents) const {
        return URL::fileURL(directory_.write(name, contents).string());
    }

    ScratchDirectory directory_;
};

TEST_F(MultipartFormDataTest, WritesTheWholeBodyByteForByte) {
    struct Case {
        const char* what;
        std::function<void(MultipartFormData&)> fill;
        std::string expected;
    };
    const Case cases[] = {
        {"no parts", [](MultipartFormData&) {}, ""},
        {"one part", [](MultipartFormData& form) { form.append(Data("x"s), "a"); },
         "--{B}\r\n"
         "Content-Disposition: form-data; name=\"a\"\r\n"
         "\r\n"
         "x\r\n"
         "--{B}--\r\n"},
        {"a text, a file and data",
         [this](MultipartFormData& form) {
             form.append(Data("7"s), "journal_id");
             form.append(fileWith("photo.jpg", "\xFF\xD8 jpeg\r\n--"), "block0", "photo.jpg", "image/jpeg");
             form.append(Data("notes"s), "block1", "notes.txt", "text/plain");
         },
         "--{B}\r\n"
         "Content-Disposition: form-data; name=\"journal_id\"\r\n"
         "\r\n"
         "7\r\n"
         "--{B}\r\n"
         "Content-Disposition: form-data; name=\"block0\"; filename=\"photo.jpg\"\r\n"
         "Content-Type: image/jpeg\r\n"
         "\r\n"
         "\xFF\xD8 jpeg\r\n--\r\n"
         "--{B}\r\n"
         "Content-Disposition: form-data; name=\"block1\"; filename=\"notes.txt\"\r\n"
         "Content-Type: text/plain\r\n"
         "\r\n"
         "notes\r\n"
         "--{B}--\r\n"},
        {"an empty body between two parts",
         [](MultipartFormData& form) {
             form.append(Data(), "streakDate");
             form.append(Data("true"s), "private");
         },
         "--{B}\r\n"
         "Content-Disposition: form-data; name=\"streakDate\"\r\n"
         "\r\n"
         "\r\n"
         "--{B}\r\n"
         "Content-Disposition: form-data; name=\"private\"\r\n"
         "\r\n"
         "true\r\n"
         "--{B}--\r\n"},
        {"an empty file",
         [this](MultipartFormData& form) {
             form.append(fileWith("empty.txt", ""), "block0", "empty.txt", "text/plain");
         },
         "--{B}\r\n"
         "Content-Disposition: form-data; name=\"block0\"; filename=\"empty.txt\"\r\n"
         "Content-Type: text/plain\r\n"
         "\r\n"
         "\r\n"
         "--{B}--\r\n"},
        {"a file name without a media type and a media type without a file name",
         [](MultipartFormData& form) {
             form.append(Data("a\0b"s), "named", "a.bin");
             form.append(Data("{}"s), "typed", std::nullopt, "application/json");
         },
         "--{B}\r\n"
         "Content-Disposition: form-data; name=\"named\"; filename=\"a.bin\"\r\n"
         "\r\n"
         "a\0b\r\n"
         "--{B}\r\n"
         "Content-Disposition: form-data; name=\"typed\"\r\n"
         "Content-Type: application/json\r\n"
         "\r\n"
         "{}\r\n"
         "--{B}--\r\n"s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        MultipartFormData form;
        c.fill(form);
        EXPECT_EQ(encoded(form), withBoundary(c.expected, form.boundary()));
        const auto& parts = form.bodyParts();
        for (std::size_t i = 0; i < parts.size(); ++i) {
            EXPECT_EQ(parts[i].hasInitialBoundary(), i == 0) << i;
            EXPECT_EQ(parts[i].hasFinalBoundary(), i + 1 == parts.size()) << i;
        }
    }
}

TEST_F(MultipartFormDataTest, EscapesQuotesAndLineBreaksInNamesAndFileNamesOnly) {
    struct Case {
        std::string name;
        std::string fileName;
        std::string sentName;
        std::string sentFileName;
    };
    const Case cases[] = {
        {"a\"b", "say \"hi\".txt", "a%22b", "say %22hi%22.txt"},
        {"x\r\nContent-Type: text/html", "a\rb\nc.txt", "x%0D%0AContent-Type: text/html", "a%0Db%0Ac.txt"},
        {"100%", "50%22.txt", "100%", "50%22.txt"},
        {"a; b=c", "x;filename=y.txt", "a; b=c", "x;filename=y.txt"},
        {"Tagebuch", "B\u00fcro \u65e5\u8a18 \U0001F600.txt", "Tagebuch",
         "B\u00fcro \u65e5\u8a18 \U0001F600.txt"},
        {"back\\slash", "c:\\file.txt", "back\\slash", "c:\\file.txt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MultipartFormData form;
        form.append(Data("x"s), c.name, c.fileName, "text/plain");
        form.append(fileWith("block.txt", "y"), c.name, c.fileName, "text/plain");
        const std::string disposition = "Content-Disposition: form-data; name=\"" + c.sentName +
                                        "\"; filename=\"" + c.sentFileName + "\"\r\n";
        EXPECT_EQ(encoded(form), withBoundary("--{B}\r\n" + disposition +
                                                  "Content-Type: text/plain\r\n"
                                                  "\r\n"
                                                  "x\r\n"
                                                  "--{B}\r\n" +
                                                  disposition +
                                                  "Content-Type: text/plain\r\n"
                                                  "\r\n"
                                                  "y\r\n"
                                                  "--{B}--\r\n",
                                              form.boundary()));
    }
}

// A media type comes from whoever made the block; a line break in it would
// end the header line and let the rest pose as headers of the part.
TEST_F(MultipartFormDataTest, EscapesLineBreaksInMediaTypes) {
    struct Case {
        std::string mimeType;
        std::string sent;
    };
    const Case cases[] = {
        {"text/plain\r\nX-Injected: 1", "text/plain%0D%0AX-Injected: 1"},
        {"text/html\n\r\n<script>", "text/html%0A%0D%0A<script>"},
        {"image/png\r", "image/png%0D"},
        {"text/plain; charset=\"utf-8\"", "text/plain; charset=\"utf-8\""},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sent);
        MultipartFormData form;
        form.append(Data("x"s), "block0", "a.txt", c.mimeType);
        form.append(fileWith("block.txt", "y"), "block1", "b.txt", c.mimeType);
        EXPECT_EQ(encoded(form), withBoundary("--{B}\r\n"
                                              "Content-Disposition: form-data; name=\"block0\"; filename=\"a.txt\"\r\n"
                                              "Content-Type: " + c.sent + "\r\n"
                                              "\r\n"
                                              "x\r\n"
                                              "--{B}\r\n"
                                              "Content-Disposition: form-data; name=\"block1\"; filename=\"b.txt\"\r\n"
                                              "Content-Type: " + c.sent + "\r\n"
                                              "\r\n"
                                              "y\r\n"
                                              "--{B}--\r\n",
                                              form.boundary()));
    }
}

// The form that a file block in the middle leaves when it cannot be used:
// the blocks around it keep their order and their names.
void appendAroundTheFile(MultipartFormData& form, const URL& file) {
    form.append(Data("before"s), "block0");
    form.append(file, "block1", "photo.jpg", "image/jpeg");
    form.append(Data("after"s), "block2");
}

const std::string withoutTheFile =
    "--{B}\r\n"
    "Content-Disposition: form-data; name=\"block0\"\r\n"
    "\r\n"
    "before\r\n"
    "--{B}\r\n"
    "Content-Disposition: form-data; name=\"block2\"\r\n"
    "\r\n"
    "after\r\n"
    "--{B}--\r\n";

TEST_F(MultipartFormDataTest, AddsNoPartForAFileThatCannotBeUsed) {
    std::filesystem::create_directory(directory_ / "folder");
    std::filesystem::create_symlink(directory_ / "nowhere", directory_ / "dangling");
    struct Case {
        const char* what;
        URL url;
    };
    const Case cases[] = {
        {"a directory", URL::fileURL((directory_ / "folder").string())},
        {"a missing file", URL::fileURL((directory_ / "missing.jpg").string())},
        {"a link to nothing", URL::fileURL((directory_ / "dangling").string())},
        {"no file URL", *URL::fromString("https://files.example/photo.jpg")},
        // Reading it would never end.
        {"a device without a size", URL::fileURL("/dev/zero")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        MultipartFormData form;
        appendAroundTheFile(form, c.url);
        EXPECT_EQ(form.bodyParts().size(), 2U);
        EXPECT_EQ(encoded(form), withBoundary(withoutTheFile, form.boundary()));
    }

    const auto outcome = testsupport::UnprivilegedChild::run([] {
        const ScratchDirectory own;
        const auto photo = own.write("photo.jpg", "private");
        ::chmod(photo.c_str(), 0);
        MultipartFormData form;
        appendAroundTheFile(form, URL::fileURL(photo.string()));
        const auto body = own / "body.tmp";
        form.writeEncodedData(URL::fileURL(body.string()));
        return form.boundary() + ScratchDirectory::read(body);
    });
    const auto boundary = outcome.substr(0, 36);
    EXPECT_EQ(outcome.substr(boundary.size()), withBoundary(withoutTheFile, boundary))
        << "an unreadable file";
}

TEST(MultipartFormData, GivesEveryFormABoundaryOfItsOwn) {
    const MultipartFormData first;
    const MultipartFormData second;
    EXPECT_NE(first.boundary(), second.boundary());
    for (const auto* form : {&first, &second}) {
        const auto uuid = foundation::UUID::fromString(form->boundary());
        ASSERT_TRUE(uuid.has_value()) << form->boundary();
        EXPECT_EQ(uuid->uuidString(), form->boundary()) << "upper case";
        EXPECT_TRUE(form->bodyParts().empty());
    }
    EXPECT_EQ(MultipartFormData::streamBufferSize, 1024);
}

TEST_F(MultipartFormDataTest, StreamsAFileManyTimesLargerThanItsBuffer) {
    const std::string contents = patterned(5 * 1024 * 1024 + 3);
    MultipartFormData form;
    form.append(fileWith("video.mp4", contents), "block0", "video.mp4", "video/mp4");
    ASSERT_EQ(form.bodyParts().size(), 1U);
    EXPECT_EQ(form.bodyParts()[0].bodyContentLength(), static_cast<std::int64_t>(contents.size()));
    const std::string head = "--{B}\r\n"
                             "Content-Disposition: form-data; name=\"block0\"; filename=\"video.mp4\"\r\n"
                             "Content-Type: video/mp4\r\n"
                             "\r\n";
    EXPECT_EQ(encoded(form), withBoundary(head, form.boundary()) + contents +
                                 withBoundary("\r\n--{B}--\r\n", form.boundary()));
}

// The kernel copies a file block straight into the form where it can, and
// the buffer copy takes over where it cannot (another file system, a file
// whose size the kernel does not know); either way the bytes are the file's.
TEST_F(MultipartFormDataTest, CopiesFileBlocksByteForByteWhereverTheyAre) {
    const std::string contents = patterned(3 * 1024 * 1024 + 7);
    const ScratchDirectory elsewhere;
    struct Case {
        const char* what;
        std::filesystem::path directory;
    };
    std::vector<Case> cases = {{"beside the form", directory_.path()}, {"in another folder", elsewhere.path()}};
    if (std::filesystem::is_directory("/dev/shm")) {
        cases.push_back({"on another file system", "/dev/shm"});
    }
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto path = c.directory / ("block-" + foundation::UUID().uuidString());
        std::ofstream(path, std::ios::binary) << contents;
        MultipartFormData form;
        form.append(Data("before"s), "block0");
        form.append(URL::fileURL(path.string()), "block1", "a.bin", "application/octet-stream");
        form.append(URL::fileURL(path.string()), "block2", "b.bin", "application/octet-stream");
        const auto body = encoded(form);
        std::filesystem::remove(path);
        const auto head = [&](const char* name, const char* fileName) {
            return withBoundary("\r\n--{B}\r\nContent-Disposition: form-data; name=\""s + name + "\"; filename=\"" +
                                    fileName + "\"\r\nContent-Type: application/octet-stream\r\n\r\n",
                                form.boundary());
        };
        const std::string expected = withBoundary("--{B}\r\n"
                                                  "Content-Disposition: form-data; name=\"block0\"\r\n"
                                                  "\r\n"
                                                  "before",
                                                  form.boundary()) +
                                     head("block1", "a.bin") + contents + head("block2", "b.bin") + contents +
                                     withBoundary("\r\n--{B}--\r\n", form.boundary());
        EXPECT_TRUE(body == expected) << "the form differs in its " << body.size() << " bytes";
    }
}

using testsupport::peakResidentKilobytes;

TEST_F(MultipartFormDataTest, NeverHoldsAFilePartInMemory) {
    constexpr std::int64_t fileSize = 128LL * 1024 * 1024;
    // A sparse file costs no disk to make and read, and /dev/null none to write.
    const auto path = directory_ / "large.bin";
    {
        std::ofstream(path, std::ios::binary).put('\0');
    }
    std::filesystem::resize_file(path, fileSize);
    MultipartFormData form;
    form.append(URL::fileURL(path.string()), "block0", "large.bin", "application/octet-stream");
    ASSERT_EQ(form.bodyParts().size(), 1U);
    const auto before = peakResidentKilobytes();
    form.writeEncodedData(URL::fileURL("/dev/null"));
    EXPECT_LT(peakResidentKilobytes() - before, fileSize / 1024 / 16);
}

// The writer sets space aside for the form as long as its parts were when
// they were added; a file that changed since then is still written as it is
// by then, with no room left over nor any byte cut off.
TEST_F(MultipartFormDataTest, WritesAFileBlockAsItIsWhenTheFormIsWritten) {
    const std::string added = patterned(64 * 1024);
    struct Case {
        const char* what;
        std::string now;
    };
    const Case cases[] = {
        {"shorter", added.substr(0, 1000)},
        {"emptied", ""},
        {"longer", added + patterned(100 * 1024 + 5)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto path = directory_.write("changing.bin", added);
        MultipartFormData form;
        form.append(URL::fileURL(path.string()), "block0", "c.bin", "application/octet-stream");
        form.append(Data("after"s), "block1");
        std::ofstream(path, std::ios::binary | std::ios::in | std::ios::trunc) << c.now;
        const std::string expected = withBoundary("--{B}\r\n"
                                                  "Content-Disposition: form-data; name=\"block0\"; filename=\"c.bin\"\r\n"
                                                  "Content-Type: application/octet-stream\r\n"
                                                  "\r\n",
                                                  form.boundary()) +
                                     c.now +
                                     withBoundary("\r\n--{B}\r\n"
                                                  "Content-Disposition: form-data; name=\"block1\"\r\n"
                                                  "\r\n"
                                                  "after\r\n"
                                                  "--{B}--\r\n",
                                                  form.boundary());
        const auto body = encoded(form);
        EXPECT_EQ(body.size(), expected.size());
        EXPECT_TRUE(body == expected) << "the form differs";
    }
}

TEST_F(MultipartFormDataTest, WritesTheBodyForItsOwnerAlone) {
    const auto previous = ::umask(0);
    MultipartFormData form;
    form.append(Data("private entry"s), "block0");
    const auto path = directory_ / "body.tmp";
    form.writeEncodedData(URL::fileURL(path.string()));
    ::umask(previous);
    struct stat status {};
    ASSERT_EQ(::stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0600U);
}

TEST_F(MultipartFormDataTest, ReportsAWriteThatFailsAndKeepsWhatWasWritten) {
    constexpr std::size_t limit = 2000;
    struct Case {
        const char* what;
        std::string path;
        std::optional<std::size_t> sizeLimit;
        int error;
        bool blockFromFile = false;
    };
    const Case cases[] = {
        {"a full disk", "/dev/full", std::nullopt, ENOSPC},
        {"a file past its size limit", (directory_ / "body.tmp").string(), limit, EFBIG},
        {"a missing directory", (directory_ / "missing" / "body.tmp").string(), std::nullopt, ENOENT},
        {"a full disk, the block from a file", "/dev/full", std::nullopt, ENOSPC, true},
        {"a file past its size limit, the block from a file", (directory_ / "body.tmp").string(), limit, EFBIG,
         true},
    };
    const std::string block = patterned(5000);
    const auto blockFile = fileWith("a.bin", block);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        MultipartFormData form;
        if (c.blockFromFile) {
            form.append(blockFile, "block0", "a.bin", "application/octet-stream");
        } else {
            form.append(Data(block), "block0", "a.bin", "application/octet-stream");
        }
        form.append(Data("later"s), "block1");
        try {
            std::optional<testsupport::ScopedFileSizeLimit> sizeLimit;
            if (c.sizeLimit) {
                sizeLimit.emplace(*c.sizeLimit);
            }
            form.writeEncodedData(URL::fileURL(c.path));
            ADD_FAILURE() << "the write claimed success";
        } catch (const foundation::StreamError& error) {
            EXPECT_EQ(error.code().value(), c.error);
            EXPECT_THAT(error.what(), HasSubstr("\"" + c.path + "\""));
        }
        if (c.sizeLimit) {
            const std::string start =
                withBoundary("--{B}\r\n"
                             "Content-Disposition: form-data; name=\"block0\"; filename=\"a.bin\"\r\n"
                             "Content-Type: application/octet-stream\r\n"
                             "\r\n",
                             form.boundary()) +
                block;
            EXPECT_EQ(ScratchDirectory::read(c.path), start.substr(0, *c.sizeLimit));
        }
    }
    EXPECT_FALSE(std::filesystem::exists(directory_ / "missing"));
}

TEST_F(MultipartFormDataTest, ReportsABodyThatCannotBeReadAndWritesNoLaterPart) {
    MultipartFormData form;
    form.append(Data("first"s), "block0");
    // Readable to open, but address 0 of the process is never mapped.
    form.append(URL::fileURL("/proc/self/mem"), "block1", "mem", "application/octet-stream");
    form.append(Data("never written"s), "block2");
    ASSERT_EQ(form.bodyParts().size(), 3U);
    const auto path = directory_ / "body.tmp";
    try {
        form.writeEncodedData(URL::fileURL(path.string()));
        ADD_FAILURE() << "the write claimed success";
    } catch (const foundation::StreamError& error) {
        EXPECT_EQ(error.code().value(), EIO);
        EXPECT_THAT(error.what(), HasSubstr("\"/proc/self/mem\""));
    }
    EXPECT_EQ(ScratchDirectory::read(path),
              withBoundary("--{B}\r\n"
                           "Content-Disposition: form-data; name=\"block0\"\r\n"
                           "\r\n"
                           "first\r\n"
                           "--{B}\r\n"
                           "Content-Disposition: form-data; name=\"block1\"; filename=\"mem\"\r\n"
                           "Content-Type: application/octet-stream\r\n"
                           "\r\n",
                           form.boundary()));
}

TEST_F(MultipartFormDataTest, WritesNothingToAURLThatIsNoFile) {
    MultipartFormData form;
    form.append(Data("x"s), "a");
    EXPECT_NO_THROW(form.writeEncodedData(*URL::fromString("https://api.example/entries/create")));
    EXPECT_TRUE(std::filesystem::is_empty(directory_.path()));
}

}  // namespace
}  // namespace kestrova
