#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>

namespace widgetkit {

// Reload requests between processes: a counter in the app-group directory that every request raises
// by one. The widget host keeps the last count it acted on; a higher count, seen while it runs or
// when it starts, means the widgets need new timelines. Requests from several processes at once are
// all counted: raising the counter holds a lock on the file beside it, and the new count replaces
// the old one by a rename, so a reader never sees a half-written count.
class ReloadRequests {
public:
    ReloadRequests() = delete;

    // "widget-reloads" in the app-group directory. Throws std::runtime_error when none is configured.
    static std::filesystem::path counterFile();

    // Raises the count by one. Throws std::system_error when the directory or the file cannot be
    // written; the previous count stays then.
    static void post();

    // Requests so far: 0 before the first one, and for a counter that is unreadable.
    [[nodiscard]] static std::uint64_t count();

    // Calls `changed` with the new count each time the counter changes, from the main context (the
    // main loop must run). Made on the main thread. Watching ends with the watcher.
    class Watcher {
    public:
        explicit Watcher(std::function<void(std::uint64_t)> changed);
        ~Watcher();
        Watcher(const Watcher&) = delete;
        Watcher& operator=(const Watcher&) = delete;

    private:
        struct State;
        std::unique_ptr<State> state_;
    };
};

}  // namespace widgetkit
