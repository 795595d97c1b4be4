#pragma once

#include "platform/kits/intents/Archivable.hpp"
#include "platform/kits/intents/Object.hpp"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace intents {

class KeyedUnarchiver;

// One titled group of options, in the order given.
class ObjectSection : public Archivable {
public:
    ObjectSection(std::optional<std::string> title, std::vector<std::shared_ptr<Object>> items);
    explicit ObjectSection(const KeyedUnarchiver& coder);

    [[nodiscard]] const std::optional<std::string>& title() const noexcept { return title_; }
    [[nodiscard]] const std::vector<std::shared_ptr<Object>>& items() const noexcept { return items_; }

    [[nodiscard]] std::string_view className() const override { return "INObjectSection"; }
    void encode(KeyedArchiver& coder) const override;

private:
    std::optional<std::string> title_;
    std::vector<std::shared_ptr<Object>> items_;
};

}  // namespace intents
