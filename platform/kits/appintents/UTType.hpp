#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace appintents {

// A uniform type identifier ("public.jpeg", "com.adobe.pdf") and what the system knows of it. The
// table covers the common types; any other identifier is kept but has no MIME type.
class UTType {
public:
    explicit UTType(std::string identifier) : identifier_(std::move(identifier)) {}

    // "public.item": any file, and no MIME type of its own.
    static UTType item() { return UTType("public.item"); }
    // The type whose preferred MIME type is `mimeType`, case-insensitively; none for a MIME type
    // of no type in the table.
    static std::optional<UTType> fromMIMEType(std::string_view mimeType);
    // The type of a file handed over without one, from the content type the desktop guesses by
    // its name and first bytes; none when that content type is in no table entry.
    static std::optional<UTType> guessing(std::string_view filename, std::string_view contents);

    [[nodiscard]] const std::string& identifier() const noexcept { return identifier_; }
    [[nodiscard]] std::optional<std::string> preferredMIMEType() const;

    friend bool operator==(const UTType&, const UTType&) = default;

private:
    std::string identifier_;
};

}  // namespace appintents
