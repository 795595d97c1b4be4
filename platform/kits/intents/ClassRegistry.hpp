#pragma once

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace intents {

class Archivable;
class KeyedUnarchiver;

// The classes this process can decode from an archive, by bare name. The
// platform's own classes (objects, files, sections, collections, user
// activities and the resolution results) are there from the start; each
// deliverable adds its intent schema at start-up. An archive naming any
// other class is refused.
class ClassRegistry {
public:
    // Decodes an object of the class from the unarchiver at its values.
    using Factory = std::function<std::shared_ptr<Archivable>(const KeyedUnarchiver&)>;

    static ClassRegistry& shared();

    // Registering a name again replaces its factory. Thread-safe.
    void add(std::string name, Factory factory);
    // No factory for a name that was never registered.
    [[nodiscard]] Factory factory(std::string_view name) const;

    template <typename T>
    void add(std::string name) {
        add(std::move(name), [](const KeyedUnarchiver& coder) { return std::make_shared<T>(coder); });
    }

private:
    ClassRegistry();

    mutable std::mutex mutex_;
    std::map<std::string, Factory, std::less<>> factories_;
};

}  // namespace intents
