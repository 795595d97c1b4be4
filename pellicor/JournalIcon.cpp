#include "pellicor/JournalIcon.hpp"

#include "platform/kits/ui/Image.hpp"
#include "platform/kits/ui/Stacks.hpp"
#include "platform/kits/ui/TextView.hpp"

#include <vector>

namespace pellicor {

ui::View JournalIcon::body() const {
    return ui::VStack({ui::Text::verbatim(emoji).font(ui::Font::system(size)).view().fixedSize()},
                      ui::HorizontalAlignment::center, 0)
        .frame(size, size);
}

std::optional<ui::View> journalIconView(const kestrova::Journal& journal, double side) {
    if (journal.iconEmoji) {
        return ui::View(JournalIcon{journal.iconEmoji->str(), side});
    }
    if (journal.iconImageData) {
        const auto bytes = journal.iconImageData->bytes();
        if (auto picture = ui::Image::fromData(std::vector<std::uint8_t>(bytes.begin(), bytes.end()))) {
            return picture->resizable().view().scaledToFit().frame(side, side);
        }
    }
    return std::nullopt;
}

}  // namespace pellicor
