#include "platform/kits/intents/ObjectResolutionResult.hpp"

namespace intents {

std::shared_ptr<ObjectResolutionResult> ObjectResolutionResult::successWithResolvedObject(
    std::shared_ptr<Object> resolvedObject) {
    return make<ObjectResolutionResult>(Kind::success, std::move(resolvedObject));
}

std::shared_ptr<ObjectResolutionResult> ObjectResolutionResult::disambiguationWithObjectsToDisambiguate(
    std::vector<std::shared_ptr<Object>> objectsToDisambiguate) {
    return make<ObjectResolutionResult>(Kind::disambiguation, nullptr, objectsToDisambiguate);
}

std::shared_ptr<ObjectResolutionResult> ObjectResolutionResult::confirmationRequiredWithObjectToConfirm(
    std::shared_ptr<Object> objectToConfirm) {
    return make<ObjectResolutionResult>(Kind::confirmationRequired, std::move(objectToConfirm));
}

std::shared_ptr<Object> ObjectResolutionResult::object() const {
    if (!value()) {
        return nullptr;
    }
    const auto* object = std::get_if<std::shared_ptr<Archivable>>(&*value());
    return object ? std::dynamic_pointer_cast<Object>(*object) : nullptr;
}

std::vector<std::shared_ptr<Object>> ObjectResolutionResult::objects() const {
    std::vector<std::shared_ptr<Object>> result;
    for (const auto& each : alternatives()) {
        if (const auto* object = std::get_if<std::shared_ptr<Archivable>>(&each)) {
            result.push_back(std::dynamic_pointer_cast<Object>(*object));
        }
    }
    return result;
}

}  // namespace intents
