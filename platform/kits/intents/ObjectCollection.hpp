#pragma once

#include "platform/kits/intents/Archivable.hpp"
#include "platform/kits/intents/ObjectSection.hpp"

#include <memory>
#include <vector>

namespace intents {

class KeyedUnarchiver;

// The options of a parameter, in sections, as a handler supplies them.
class ObjectCollection : public Archivable {
public:
    explicit ObjectCollection(std::vector<std::shared_ptr<ObjectSection>> sections);
    explicit ObjectCollection(const KeyedUnarchiver& coder);

    [[nodiscard]] const std::vector<std::shared_ptr<ObjectSection>>& sections() const noexcept { return sections_; }

    [[nodiscard]] std::string_view className() const override { return "INObjectCollection"; }
    void encode(KeyedArchiver& coder) const override;

private:
    std::vector<std::shared_ptr<ObjectSection>> sections_;
};

}  // namespace intents
