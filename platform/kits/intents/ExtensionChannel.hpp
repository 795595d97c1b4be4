#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace intents {

// The extension's end of its host's channel: its standard input, read line by line on a thread of
// its own, and its standard output, written one whole line at a time from any thread. run() runs
// the main loop meanwhile, so that each line reaches the extension on the main thread.
class ExtensionChannel {
public:
    struct Handlers {
        // Each line of input without its line break, on the main thread.
        std::function<void(std::string line)> received;
        // Once, on the main thread, after the last line: the host has closed the input.
        std::function<void()> ended;
    };

    ExtensionChannel();
    ~ExtensionChannel();
    ExtensionChannel(const ExtensionChannel&) = delete;
    ExtensionChannel& operator=(const ExtensionChannel&) = delete;

    // Reads the input and runs the main loop until quit().
    void run(Handlers handlers);
    // From the main thread: run() returns once the current job has ended.
    void quit();

    // Writes the line, its line break included, and flushes it at once, so that the host never waits
    // on a buffer and what the extension prints keeps its place between the lines. Thread-safe.
    void write(std::string_view line);
    // Nothing is written any more, whoever still writes.
    void closeOutput();

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace intents
