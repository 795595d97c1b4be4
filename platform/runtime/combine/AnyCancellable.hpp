#pragma once

#include <functional>
#include <vector>

namespace combine {

// A subscription's owner: the subscription ends when cancel() is called or the cancellable is
// destroyed or assigned over, whichever comes first. Not thread-safe itself: one owner at a time.
class [[nodiscard]] AnyCancellable {
public:
    AnyCancellable() = default;
    explicit AnyCancellable(std::function<void()> cancel) : cancel_(std::move(cancel)) {}
    AnyCancellable(AnyCancellable&& other) noexcept;
    AnyCancellable& operator=(AnyCancellable&& other) noexcept;
    AnyCancellable(const AnyCancellable&) = delete;
    AnyCancellable& operator=(const AnyCancellable&) = delete;
    ~AnyCancellable();

    // Ends the subscription; later calls do nothing.
    void cancel() noexcept;

    // Hands the subscription to a collection that owns it from now on.
    void store(std::vector<AnyCancellable>& cancellables) &&;

private:
    std::function<void()> cancel_;
};

}  // namespace combine
