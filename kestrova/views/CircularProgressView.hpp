#pragma once

#include "platform/kits/ui/Color.hpp"
#include "platform/kits/ui/View.hpp"

#include <cstdint>

namespace kestrova {

// A progress ring with a number in its centre, sized by whatever space it is offered: the ring's
// thickness and the number's type size follow the space.
struct CircularProgressView {
    double percentage;
    std::int64_t number;
    ui::Color primaryColor;

    [[nodiscard]] ui::View body() const;
};

}  // namespace kestrova
