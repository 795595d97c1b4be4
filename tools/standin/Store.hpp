#pragma once

#include "tools/standin/StandinData.hpp"

#include <filesystem>
#include <mutex>
#include <stdexcept>
#include <utility>

namespace standin {

// The data file and what it holds, shared by the server's threads. Every
// change is written at once, through a new file renamed over the old one, so
// a crash leaves either the old or the new contents, never a mix.
class Store {
public:
    // A data file that cannot be read or is no stand-in data; it is left as
    // it is.
    struct Error : std::runtime_error {
        using std::runtime_error::runtime_error;
    };

    // Reads the file; a file that does not exist yet is made with the demo
    // user. Throws Error naming the file and the fault.
    explicit Store(std::filesystem::path file);

    // Calls the function with the data, under the lock.
    template <typename Function>
    auto read(Function&& function) const {
        std::lock_guard lock(mutex_);
        return std::forward<Function>(function)(std::as_const(data_));
    }

    // Calls the function with a copy of the data and, when it returns,
    // writes the copy and keeps it. When the function throws or the file
    // cannot be written, nothing changes and the exception passes on.
    template <typename Function>
    auto update(Function&& function) {
        std::lock_guard lock(mutex_);
        StandinData changed = data_;
        if constexpr (std::is_void_v<decltype(function(changed))>) {
            std::forward<Function>(function)(changed);
            commit(std::move(changed));
        } else {
            auto result = std::forward<Function>(function)(changed);
            commit(std::move(changed));
            return result;
        }
    }

private:
    void commit(StandinData changed);
    void write(const StandinData& data) const;

    std::filesystem::path file_;
    mutable std::mutex mutex_;
    StandinData data_;
};

}  // namespace standin
