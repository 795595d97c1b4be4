#include "platform/kits/intents/ClassRegistry.hpp"

#include "platform/kits/intents/BooleanResolutionResult.hpp"
#include "platform/kits/intents/File.hpp"
#include "platform/kits/intents/Interaction.hpp"
#include "platform/kits/intents/ObjectCollection.hpp"
#include "platform/kits/intents/ObjectResolutionResult.hpp"
#include "platform/kits/intents/ObjectSection.hpp"
#include "platform/kits/intents/StringResolutionResult.hpp"
#include "platform/kits/intents/UserActivity.hpp"

namespace intents {

ClassRegistry::ClassRegistry() {
    add<Object>("INObject");
    add<File>("INFile");
    add<ObjectSection>("INObjectSection");
    add<ObjectCollection>("INObjectCollection");
    add<UserActivity>("NSUserActivity");
    add<Interaction>("INInteraction");
    add<ObjectResolutionResult>("INObjectResolutionResult");
    add<StringResolutionResult>("INStringResolutionResult");
    add<BooleanResolutionResult>("INBooleanResolutionResult");
}

ClassRegistry& ClassRegistry::shared() {
    // Never destroyed: archives may still be read while the process exits.
    static auto* const registry = new ClassRegistry;
    return *registry;
}

void ClassRegistry::add(std::string name, Factory factory) {
    const std::lock_guard lock(mutex_);
    factories_.insert_or_assign(std::move(name), std::move(factory));
}

ClassRegistry::Factory ClassRegistry::factory(std::string_view name) const {
    const std::lock_guard lock(mutex_);
    const auto found = factories_.find(name);
    return found == factories_.end() ? Factory() : found->second;
}

}  // namespace intents
