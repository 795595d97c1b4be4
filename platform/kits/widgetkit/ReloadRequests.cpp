#include "platform/kits/widgetkit/ReloadRequests.hpp"

#include "platform/runtime/foundation/defaults/AppGroup.hpp"

#include <gio/gio.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <fstream>
#include <stdexcept>
#include <string>
#include <system_error>

namespace widgetkit {
namespace {

std::filesystem::path directory() {
    const auto container = foundation::AppGroup::containerDirectory();
    if (!container) {
        throw std::runtime_error("no app-group directory is configured: set KESTROVA_APP_GROUP_DIR or HOME");
    }
    return *container;
}

[[noreturn]] void fail(const std::string& what) {
    throw std::system_error(errno, std::generic_category(), what);
}

// The app-group directory is private to the user, as the defaults suites make it.
void ensureDirectory(const std::filesystem::path& directory) {
    std::error_code ignored;
    std::filesystem::create_directories(directory.parent_path(), ignored);
    if (::mkdir(directory.c_str(), 0700) != 0 && errno != EEXIST) {
        fail("cannot create " + directory.string());
    }
}

class Descriptor {
public:
    explicit Descriptor(int descriptor) noexcept : descriptor_(descriptor) {}
    ~Descriptor() {
        if (descriptor_ >= 0) {
            ::close(descriptor_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    [[nodiscard]] int get() const noexcept { return descriptor_; }

private:
    int descriptor_;
};

std::uint64_t readCount(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::string text;
    if (!in || !std::getline(in, text)) {
        return 0;
    }
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() ? value : 0;
}

void writeAll(int descriptor, const std::string& text, const std::filesystem::path& file) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t written = ::write(descriptor, text.data() + done, text.size() - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            fail("cannot write " + file.string());
        }
        done += static_cast<std::size_t>(written);
    }
}

}  // namespace

std::filesystem::path ReloadRequests::counterFile() {
    return directory() / "widget-reloads";
}

void ReloadRequests::post() {
    const std::filesystem::path file = counterFile();
    ensureDirectory(file.parent_path());
    const std::filesystem::path lockFile = file.string() + ".lock";
    const Descriptor lock(::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (lock.get() < 0) {
        fail("cannot open " + lockFile.string());
    }
    while (::flock(lock.get(), LOCK_EX) != 0) {
        if (errno != EINTR) {
            fail("cannot lock " + lockFile.string());
        }
    }
    // Whoever holds the lock is the only writer, so the next count is ours alone.
    const std::string text = std::to_string(readCount(file) + 1) + "\n";
    const std::filesystem::path temporary = file.string() + ".new";
    {
        const Descriptor out(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
        if (out.get() < 0) {
            fail("cannot create " + temporary.string());
        }
        try {
            writeAll(out.get(), text, temporary);
        } catch (...) {
            ::unlink(temporary.c_str());
            throw;
        }
    }
    if (::rename(temporary.c_str(), file.c_str()) != 0) {
        const int cause = errno;
        ::unlink(temporary.c_str());
        errno = cause;
        fail("cannot replace " + file.string());
    }
    // The lock goes with its descriptor.
}

std::uint64_t ReloadRequests::count() {
    return readCount(counterFile());
}

struct ReloadRequests::Watcher::State {
    std::function<void(std::uint64_t)> changed;
    std::filesystem::path file;
    std::uint64_t last = 0;
    GFileMonitor* monitor = nullptr;

    static void onEvent(GFileMonitor*, GFile*, GFile*, GFileMonitorEvent, gpointer data) {
        auto* state = static_cast<State*>(data);
        const std::uint64_t now = readCount(state->file);
        if (now != state->last) {
            state->last = now;
            state->changed(now);
        }
    }
};

ReloadRequests::Watcher::Watcher(std::function<void(std::uint64_t)> changed) : state_(std::make_unique<State>()) {
    state_->changed = std::move(changed);
    state_->file = counterFile();
    // The monitor watches the directory for the file to appear, so the directory must be there.
    ensureDirectory(state_->file.parent_path());
    state_->last = readCount(state_->file);
    GFile* file = g_file_new_for_path(state_->file.c_str());
    GError* error = nullptr;
    state_->monitor = g_file_monitor_file(file, G_FILE_MONITOR_WATCH_MOVES, nullptr, &error);
    g_object_unref(file);
    if (state_->monitor == nullptr) {
        const std::string reason = error != nullptr ? error->message : "unknown cause";
        g_clear_error(&error);
        throw std::runtime_error("cannot watch " + state_->file.string() + ": " + reason);
    }
    g_signal_connect(state_->monitor, "changed", G_CALLBACK(&State::onEvent), state_.get());
}

ReloadRequests::Watcher::~Watcher() {
    g_signal_handlers_disconnect_by_data(state_->monitor, state_.get());
    g_file_monitor_cancel(state_->monitor);
    g_object_unref(state_->monitor);
}

}  // namespace widgetkit
