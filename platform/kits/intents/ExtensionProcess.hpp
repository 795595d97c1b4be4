#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace intents {

// An extension process as its host holds it: started with one channel for its standard input and
// output, to which the host writes lines and from which it reads the extension's marked lines
// (those that start with ExtensionMessage::marker) within a deadline. Every other line the
// extension prints goes, line by line, to `printed`; its standard error is the host's own. Whatever
// the host's protocol, no wait here is longer than the deadline the host gives.
class ExtensionProcess {
public:
    using Clock = std::chrono::steady_clock;
    using PrintedLine = std::function<void(std::string_view line)>;

    // command[0] is the extension's executable; it inherits the environment. Throws ExtensionError
    // when it cannot be started.
    ExtensionProcess(std::vector<std::string> command, PrintedLine printed);
    // Kills an extension that is still running.
    ~ExtensionProcess();
    ExtensionProcess(const ExtensionProcess&) = delete;
    ExtensionProcess& operator=(const ExtensionProcess&) = delete;

    // Whether the channel is still open: neither finished nor stopped.
    [[nodiscard]] bool isOpen() const noexcept { return channel_ >= 0; }

    enum class Outcome {
        done,
        // The deadline passed first; the extension still runs.
        timedOut,
        // The extension closed its end: it has ended, or is ending.
        ended,
    };
    // Sends the whole line.
    [[nodiscard]] Outcome send(std::string_view line, Clock::time_point deadline);

    struct Received {
        Outcome outcome;
        // The marked line without its marker and its line break; empty unless done.
        std::string message;
    };
    // The next marked line, passing on the printed lines before it.
    [[nodiscard]] Received receive(Clock::time_point deadline);

    // Closes the extension's input and passes on what it still prints until it ends, waiting at most
    // `bound`, then kills it: its exit status, or 128 plus the signal that ended it. Again: the same.
    int finish(std::chrono::milliseconds bound);
    // Kills the extension at once.
    void stop();
    // Finishes the extension as finish() does and says how it ended, for an extension that ended
    // before it answered.
    [[nodiscard]] std::string endedText(std::chrono::milliseconds bound);

private:
    // False once the deadline has passed with the channel still not ready.
    [[nodiscard]] bool awaitChannel(short events, Clock::time_point deadline) const;
    // Passes on what the extension printed that has not been passed on yet, then closes.
    void closeChannel();
    int reap();

    PrintedLine printed_;
    pid_t pid_ = -1;
    int channel_ = -1;
    std::string pending_;
    std::optional<int> status_;
};

}  // namespace intents
