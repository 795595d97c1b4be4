#include "platform/kits/ui/Image.hpp"

#include "platform/kits/ui/Node.hpp"
#include "platform/kits/ui/internal/ImageStore.hpp"

namespace ui {

Image Image::named(std::string assetName) { return Image(Source::asset, std::move(assetName)); }

Image Image::bundleResource(std::string name) { return Image(Source::bundleResource, std::move(name)); }

Image Image::systemName(std::string symbol) { return Image(Source::systemSymbol, std::move(symbol)); }

std::optional<Image> Image::fromData(std::vector<std::uint8_t> bytes) {
    auto shared = std::make_shared<const std::vector<std::uint8_t>>(std::move(bytes));
    if (!internal::ImageStore::shared().decodable(shared)) {
        return std::nullopt;
    }
    Image image(Source::data, {});
    image.bytes_ = std::move(shared);
    return image;
}

Image::operator View() const {
    node::Image payload;
    payload.source = static_cast<node::Image::Source>(source_);
    payload.name = name_;
    payload.bytes = bytes_;
    payload.resizable = resizable_;
    return View(std::make_shared<const Node>(Node{std::move(payload), {}}));
}

}  // namespace ui
