// Feeds arbitrary bytes to an extension process's runtime as its standard
// input, as the host writes its requests there, and reads what the runtime
// writes to its standard output. The extension answers every operation with
// the intent it was given, the resolutions later on the main queue, and does
// not respond to selectors it does not know. The runtime promises:
// - it ends once the input has ended and every request is answered;
// - every line that carries a message gets exactly one answer, under the
//   request's id (0 for a request that cannot be read);
// - every answer is one line the host can read.

#include "fuzz/support/FuzzFailure.hpp"
#include "platform/runtime/concurrency/MainActor.hpp"
#include "platform/kits/intents/Extension.hpp"
#include "platform/kits/intents/ExtensionMessage.hpp"
#include "platform/kits/intents/ExtensionRuntime.hpp"
#include "platform/kits/intents/HandlerObject.hpp"
#include "kestrova/intents/IntentSchema.hpp"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::string_view input;

void check(bool holds, std::string_view what) {
    if (!holds) {
        fuzzsupport::fail("extension_stream_fuzz", what, input);
    }
}

class EchoHandler final : public intents::HandlerObject {
public:
    bool perform(std::string_view selector, const std::shared_ptr<intents::Intent>& intent, Reply reply) override {
        const intents::HandlerAnswer answer{intent, std::nullopt};
        if (selector.starts_with("resolve")) {
            concurrency::MainActor::shared().enqueue([reply = std::move(reply), answer] { reply(answer); });
            return true;
        }
        if (selector.starts_with("handle") || selector.starts_with("confirm") || selector.starts_with("provide") ||
            selector.starts_with("default")) {
            reply(answer);
            return true;
        }
        return false;
    }
};

class EchoExtension final : public intents::Extension {
public:
    std::shared_ptr<intents::HandlerObject> handler(const std::shared_ptr<intents::Intent>&) override {
        return std::make_shared<EchoHandler>();
    }
};

// A file in memory, for the runtime's standard streams: the input is there
// whole and ends, and the output never fills a pipe that nobody reads.
int memoryFile(const char* name) {
    const int file = memfd_create(name, MFD_CLOEXEC);
    if (file < 0) {
        std::perror("extension_stream_fuzz: memfd_create");
        std::abort();
    }
    return file;
}

void writeAll(int file, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(file, bytes.data(), bytes.size());
        if (written <= 0) {
            std::perror("extension_stream_fuzz: write");
            std::abort();
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

std::string readAll(int file) {
    std::string bytes;
    ::lseek(file, 0, SEEK_SET);
    char buffer[65536];
    ssize_t count = 0;
    while ((count = ::read(file, buffer, sizeof buffer)) > 0) {
        bytes.append(buffer, static_cast<std::size_t>(count));
    }
    return bytes;
}

// What the runtime writes for the input.
std::string runtimeOutput() {
    const int in = memoryFile("extension-input");
    const int out = memoryFile("extension-output");
    writeAll(in, input);
    ::lseek(in, 0, SEEK_SET);
    std::fflush(stdout);
    const int savedIn = ::dup(STDIN_FILENO);
    const int savedOut = ::dup(STDOUT_FILENO);
    ::dup2(in, STDIN_FILENO);
    ::dup2(out, STDOUT_FILENO);
    EchoExtension extension;
    const int status = intents::ExtensionRuntime::run(extension);
    std::fflush(stdout);
    ::dup2(savedIn, STDIN_FILENO);
    ::dup2(savedOut, STDOUT_FILENO);
    for (const int file : {savedIn, savedOut, in}) {
        ::close(file);
    }
    check(status == 0, "the runtime ends with a failure");
    std::string output = readAll(out);
    ::close(out);
    return output;
}

// The ids the answers must carry, one per line of the input that carries a
// message; a last line without its line break is no message yet.
std::vector<std::int64_t> requestIds() {
    std::vector<std::int64_t> ids;
    std::string_view rest = input;
    for (auto end = rest.find('\n'); end != std::string_view::npos; end = rest.find('\n')) {
        const std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end + 1);
        const auto start = line.find(intents::ExtensionMessage::marker);
        if (start == std::string_view::npos) {
            continue;
        }
        try {
            ids.push_back(intents::ExtensionMessage::parse(line.substr(start + 1)).id);
        } catch (const std::exception&) {
            ids.push_back(0);
        }
    }
    return ids;
}

std::vector<std::int64_t> answerIds(std::string_view output) {
    std::vector<std::int64_t> ids;
    while (!output.empty()) {
        const auto end = output.find('\n');
        check(end != std::string_view::npos, "the runtime writes an answer without its line break");
        const std::string_view line = output.substr(0, end);
        output.remove_prefix(end + 1);
        check(line.starts_with(intents::ExtensionMessage::marker), "the runtime writes a line that is no message");
        try {
            ids.push_back(intents::ExtensionMessage::parse(line.substr(1)).id);
        } catch (const std::exception&) {
            check(false, "the runtime writes an answer the host cannot read");
        }
    }
    return ids;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    kestrova::registerIntentSchema();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    input = std::string_view(reinterpret_cast<const char*>(bytes), size);
    auto expected = requestIds();
    auto answered = answerIds(runtimeOutput());
    // Resolutions are answered later, so answers need not come in the order of the requests.
    std::sort(expected.begin(), expected.end());
    std::sort(answered.begin(), answered.end());
    check(answered == expected, "the requests and the answers do not pair up");
    return 0;
}
