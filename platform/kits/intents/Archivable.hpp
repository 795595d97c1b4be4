#pragma once

#include <string_view>

namespace intents {

class KeyedArchiver;

// An object that crosses processes in a keyed archive: intents, responses,
// objects, files, sections, collections and resolution results. An archive
// names each object's class by its bare name (`CreateEntryIntent`, never a
// name qualified by a module), so that an object archived by one deliverable
// decodes in another that registered the same class (ClassRegistry).
class Archivable {
public:
    virtual ~Archivable() = default;

    // The bare class name written into archives.
    [[nodiscard]] virtual std::string_view className() const = 0;
    // Writes the object's own values and those of its bases.
    virtual void encode(KeyedArchiver& coder) const = 0;

protected:
    Archivable() = default;
    Archivable(const Archivable&) = default;
    Archivable& operator=(const Archivable&) = default;
};

}  // namespace intents
