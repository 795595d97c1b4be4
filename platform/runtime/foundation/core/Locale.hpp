#pragma once

#include <string>

namespace foundation {

// A locale named by its identifier ("en_US_POSIX", "de_DE"). The date forms
// this layer writes are numeric with ASCII digits in every locale, so a locale
// is carried for its name alone.
class Locale {
public:
    explicit Locale(std::string identifier) : identifier_(std::move(identifier)) {}

    // The user's locale for dates: LC_ALL, else LC_TIME, else LANG, as the C
    // library ranks them, without the codeset or modifier ("de_DE.UTF-8@euro"
    // is "de_DE"). The C and POSIX locales, and no setting at all, are
    // "en_US_POSIX".
    static Locale current();

    [[nodiscard]] const std::string& identifier() const noexcept { return identifier_; }

    friend bool operator==(const Locale&, const Locale&) = default;

private:
    std::string identifier_;
};

}  // namespace foundation
