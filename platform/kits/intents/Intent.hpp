#pragma once

#include "platform/kits/intents/Archivable.hpp"
#include "platform/kits/intents/ParameterDescription.hpp"
#include "platform/kits/intents/ParameterValue.hpp"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace intents {

class KeyedUnarchiver;

// A request that Siri, Shortcuts or a widget's configuration hands to a
// handler. Subclasses name their parameters; the values live here, in the
// parameter storage, under the parameter's name, so a parameter that was
// never set reads as none and setting one stores it. Not synchronised: the
// platform fills the parameters before it hands the intent on.
class Intent : public Archivable {
public:
    // A fresh intent with a new identifier and no parameters.
    Intent();
    explicit Intent(const KeyedUnarchiver& coder);

    // Identifies one intent across the steps of its handling and across processes.
    [[nodiscard]] const std::string& identifier() const noexcept { return identifier_; }

    [[nodiscard]] std::optional<ParameterValue> parameterValue(std::string_view name) const;
    // No value removes the parameter.
    void setParameterValue(std::string_view name, std::optional<ParameterValue> value);

    // A null object removes the parameter.
    void setObjectParameter(std::string_view name, std::shared_ptr<Archivable> object);

    // Typed readers: a value of another kind reads as none, as a failed cast would.
    [[nodiscard]] std::optional<std::string> stringParameter(std::string_view name) const;
    [[nodiscard]] std::optional<Number> numberParameter(std::string_view name) const;
    template <typename T>
    [[nodiscard]] std::shared_ptr<T> objectParameter(std::string_view name) const {
        const auto value = parameterValue(name);
        const auto* object = value ? std::get_if<std::shared_ptr<Archivable>>(&*value) : nullptr;
        return object ? std::dynamic_pointer_cast<T>(*object) : nullptr;
    }

    // The parameters of the class, in the order the platform asks about them.
    [[nodiscard]] virtual std::vector<ParameterDescription> parameterDescriptions() const { return {}; }

    // The standard description of the object: "<CreateEntryIntent: 0x...>".
    [[nodiscard]] std::string description() const;

    [[nodiscard]] std::string_view className() const override { return "INIntent"; }
    void encode(KeyedArchiver& coder) const override;

private:
    std::string identifier_;
    std::map<std::string, ParameterValue, std::less<>> parameters_;
};

}  // namespace intents
