#pragma once

#include "platform/runtime/foundation/core/Data.hpp"
#include "platform/runtime/foundation/core/URL.hpp"
#include "platform/kits/intents/Archivable.hpp"

#include <optional>
#include <string>

namespace intents {

class KeyedUnarchiver;

// A file handed to an intent: its name, its type identifier and either its
// bytes or the local file that holds them. A file given by its URL crosses
// processes as that URL, so a large attachment is never copied into an
// archive or into memory until someone asks for its bytes.
class File : public Archivable {
public:
    File(foundation::Data data, std::string filename, std::optional<std::string> typeIdentifier);
    File(foundation::URL fileURL, std::string filename, std::optional<std::string> typeIdentifier);
    explicit File(const KeyedUnarchiver& coder);

    [[nodiscard]] const std::string& filename() const noexcept { return filename_; }
    [[nodiscard]] const std::optional<std::string>& typeIdentifier() const noexcept { return typeIdentifier_; }
    [[nodiscard]] const std::optional<foundation::URL>& fileURL() const noexcept { return fileURL_; }
    // The bytes; for a file given by its URL they are read now, and a file
    // that cannot be read gives empty bytes.
    [[nodiscard]] foundation::Data data() const;

    [[nodiscard]] std::string_view className() const override { return "INFile"; }
    void encode(KeyedArchiver& coder) const override;

private:
    std::optional<foundation::Data> data_;
    std::optional<foundation::URL> fileURL_;
    std::string filename_;
    std::optional<std::string> typeIdentifier_;
};

}  // namespace intents
