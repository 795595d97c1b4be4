#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace foundation {

// The values a multipart form writes into its parts' header lines. A value
// must not end its line, or a chosen name or media type could inject headers
// or parts of its own; a name between double quotes must not end the quotes
// either. Browsers escape exactly these bytes as "%" and two upper-case
// hexadecimal digits and leave every other one as it is, so a server reads
// our values as it reads theirs.
class FormDataHeaderEscaping {
public:
    // A field name or file name for between double quotes: '"', CR and LF escaped.
    [[nodiscard]] static std::string quotedValue(std::string_view text);
    // A value that stands on the line as it is: CR and LF escaped.
    [[nodiscard]] static std::string lineValue(std::string_view text);
    // A part's Content-Disposition value: "form-data; name=" and the quoted
    // name, then "; filename=" and the quoted file name when there is one.
    [[nodiscard]] static std::string contentDisposition(std::string_view name,
                                                        std::optional<std::string_view> fileName);
};

}  // namespace foundation
