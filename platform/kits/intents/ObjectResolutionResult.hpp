#pragma once

#include "platform/kits/intents/Object.hpp"
#include "platform/kits/intents/ResolutionResult.hpp"

#include <memory>
#include <vector>

namespace intents {

// The resolution of a parameter that holds a custom object. Schema classes
// derive typed results from it, which make their answers through the
// protected makers with their own class.
class ObjectResolutionResult : public ResolutionResult {
public:
    explicit ObjectResolutionResult(const KeyedUnarchiver& coder) : ResolutionResult(coder) {}

    static std::shared_ptr<ObjectResolutionResult> successWithResolvedObject(std::shared_ptr<Object> resolvedObject);
    static std::shared_ptr<ObjectResolutionResult> disambiguationWithObjectsToDisambiguate(
        std::vector<std::shared_ptr<Object>> objectsToDisambiguate);
    static std::shared_ptr<ObjectResolutionResult> confirmationRequiredWithObjectToConfirm(
        std::shared_ptr<Object> objectToConfirm);
    static std::shared_ptr<ObjectResolutionResult> needsValue() { return make<ObjectResolutionResult>(Kind::needsValue); }
    static std::shared_ptr<ObjectResolutionResult> notRequired() { return make<ObjectResolutionResult>(Kind::notRequired); }
    static std::shared_ptr<ObjectResolutionResult> unsupported() { return make<ObjectResolutionResult>(Kind::unsupported); }

    // The object of a success or a confirmation, if any.
    [[nodiscard]] std::shared_ptr<Object> object() const;
    [[nodiscard]] std::vector<std::shared_ptr<Object>> objects() const;

    [[nodiscard]] std::string_view className() const override { return "INObjectResolutionResult"; }

protected:
    ObjectResolutionResult(Kind kind, std::optional<ParameterValue> value, std::vector<ParameterValue> alternatives)
        : ResolutionResult(kind, std::move(value), std::move(alternatives)) {}

    template <typename Result>
    static std::shared_ptr<Result> make(Kind kind, std::shared_ptr<Object> object = nullptr,
                                        const std::vector<std::shared_ptr<Object>>& objects = {}) {
        std::optional<ParameterValue> value;
        if (object) {
            value = ParameterValue(std::shared_ptr<Archivable>(std::move(object)));
        }
        std::vector<ParameterValue> alternatives;
        for (const auto& each : objects) {
            alternatives.emplace_back(std::shared_ptr<Archivable>(each));
        }
        return std::shared_ptr<Result>(new Result(kind, std::move(value), std::move(alternatives)));
    }
};

}  // namespace intents
