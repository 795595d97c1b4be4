#pragma once

#include "platform/runtime/combine/PassthroughSubject.hpp"

namespace combine {

// Base of an object whose observers are told, through objectWillChange, just before any of its
// Published properties is written.
class ObservableObject {
public:
    ObservableObject(const ObservableObject&) = delete;
    ObservableObject& operator=(const ObservableObject&) = delete;

    [[nodiscard]] PassthroughSubject<void>& objectWillChange() noexcept { return objectWillChange_; }

protected:
    ObservableObject() = default;
    ~ObservableObject() = default;

private:
    PassthroughSubject<void> objectWillChange_;
};

}  // namespace combine
