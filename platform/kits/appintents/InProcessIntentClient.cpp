#include "platform/kits/appintents/InProcessIntentClient.hpp"

#include "platform/runtime/concurrency/MainActor.hpp"
#include "platform/runtime/concurrency/Spawn.hpp"

#include <glib.h>

namespace appintents {
namespace {

template <typename T>
T finished(concurrency::Task<T> task) {
    auto& mainActor = concurrency::MainActor::shared();
    const auto handle = concurrency::spawn(mainActor, std::move(task));
    // A task that ends on another thread wakes the loop up.
    handle.whenFinished([&mainActor] { mainActor.enqueue([] {}); });
    while (!handle.isFinished()) {
        g_main_context_iteration(nullptr, TRUE);
    }
    return handle.result();
}

}  // namespace

std::vector<EntityValue> InProcessIntentClient::entities(const std::string& typeName,
                                                         const std::vector<std::string>& identifiers) {
    return finished(catalogue_.entities(typeName, identifiers));
}

EntityCollection InProcessIntentClient::suggestedEntities(const std::string& typeName) {
    return finished(catalogue_.suggestedEntities(typeName));
}

EntityCollection InProcessIntentClient::entitiesMatching(const std::string& typeName, const std::string& text) {
    return finished(catalogue_.entitiesMatching(typeName, text));
}

IntentResult InProcessIntentClient::perform(const std::string& title, const IntentValues& values) {
    return finished(catalogue_.perform(title, values));
}

}  // namespace appintents
