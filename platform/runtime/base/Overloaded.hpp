#pragma once

namespace base {

// One visitor out of several lambdas, for std::visit.
template <typename... Cases>
struct Overloaded : Cases... {
    using Cases::operator()...;
};
// Spelled out for clang 16, which does not yet deduce it for aggregates.
template <typename... Cases>
Overloaded(Cases...) -> Overloaded<Cases...>;

}  // namespace base
