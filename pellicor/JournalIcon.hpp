#pragma once

#include "kestrova/model/Journal.hpp"
#include "platform/kits/ui/View.hpp"

#include <optional>
#include <string>

namespace pellicor {

// A journal's emoji drawn at a type size equal to the side of its square. A glyph larger than the
// square draws beyond it rather than being cut or shrunk.
struct JournalIcon {
    std::string emoji;
    double size = 0;

    [[nodiscard]] ui::View body() const;
};

// The icon a widget shows for the journal in a square of `side` points: its emoji when it has one
// (even an empty one), else its downloaded picture fitted into the square when the bytes decode,
// else nothing.
[[nodiscard]] std::optional<ui::View> journalIconView(const kestrova::Journal& journal, double side);

}  // namespace pellicor
