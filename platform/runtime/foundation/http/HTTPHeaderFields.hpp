#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace foundation {

// HTTP header fields in the order they were first given, looked up without
// regard to the case of the name, as HTTP names compare. A field that is
// given again keeps its first place and its first spelling.
class HTTPHeaderFields {
public:
    using Field = std::pair<std::string, std::string>;

    // A field value without the optional white space (spaces and tabs) around it.
    [[nodiscard]] static std::string_view withoutOptionalWhitespace(std::string_view value);

    [[nodiscard]] std::optional<std::string> value(std::string_view name) const;
    [[nodiscard]] const std::vector<Field>& fields() const noexcept { return fields_; }
    [[nodiscard]] bool empty() const noexcept { return fields_.empty(); }

    // Replaces the value of the field, or adds the field at the end.
    void set(std::string_view name, std::string_view value);
    // Joins the value to an existing one with the separator, or adds the field.
    void append(std::string_view name, std::string_view value, std::string_view separator);
    void remove(std::string_view name);

    friend bool operator==(const HTTPHeaderFields&, const HTTPHeaderFields&) = default;

private:
    std::vector<Field> fields_;
};

}  // namespace foundation
