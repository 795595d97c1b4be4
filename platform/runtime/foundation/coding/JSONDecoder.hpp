#pragma once

#include "platform/runtime/foundation/core/Data.hpp"
#include "platform/runtime/foundation/core/Date.hpp"
#include "platform/runtime/foundation/coding/UnkeyedDecodingContainer.hpp"

#include <exception>
#include <functional>
#include <optional>
#include <string_view>

namespace foundation {

// Reads values from JSON text with the other platform's default rules: keys
// as the records name them, strict JSON types, data as Base64 text, dates by
// the configured strategy. Configure it once; decode may then be called from
// any number of threads at the same time.
//
// A failure anywhere in the value fails the whole decode with a
// DecodingError: no partly decoded value ever comes out.
class JSONDecoder {
public:
    // The failure of a date rule that finds a text it cannot read as a date.
    // An enumeration with text raw values; "invalidDate" is its one case.
    class DateError : public std::exception {
    public:
        enum class Case { invalidDate };

        DateError() = default;
        static std::optional<DateError> fromRawValue(std::string_view rawValue) {
            return rawValue == "invalidDate" ? std::optional<DateError>(DateError()) : std::nullopt;
        }
        [[nodiscard]] Case kind() const noexcept { return Case::invalidDate; }
        [[nodiscard]] std::string_view rawValue() const noexcept { return "invalidDate"; }
        [[nodiscard]] const char* what() const noexcept override {
            return "The operation couldn\u2019t be completed. (JSONDecoder.DateError error 0.)";
        }
        friend bool operator==(const DateError&, const DateError&) noexcept { return true; }
    };

    class DateDecodingStrategy {
    public:
        // A JSON number of seconds since 2001-01-01 00:00:00 UTC, fractions allowed.
        static DateDecodingStrategy deferredToDate() { return DateDecodingStrategy(); }
        // A rule of one's own, handed the decoder at the date value (never at a
        // null). Whatever it throws passes through the decode unchanged. It
        // must read the value alone, not where it stands: records read from
        // values that are the same text may be read once and shared.
        static DateDecodingStrategy custom(std::function<Date(Decoder&)> rule);

    private:
        friend class JSONDecoder;
        DateDecodingStrategy() = default;
        std::function<Date(Decoder&)> rule_;
    };

    DateDecodingStrategy dateDecodingStrategy = DateDecodingStrategy::deferredToDate();

    // Values nested deeper than this fail as data that is corrupted, so that
    // no document can exhaust the stack of the decoding thread.
    static constexpr std::size_t maximumDepth = 512;

    template <typename T>
    T decode(std::string_view json) const {
        std::optional<T> result;
        decodeRoot(json, &readRoot<T>, &result);
        return std::move(*result);
    }

    template <typename T>
    T decode(const Data& json) const {
        return decode<T>(json.view());
    }

private:
    template <typename T>
    static void readRoot(Decoder& root, void* result) {
        static_cast<std::optional<T>*>(result)->emplace(root.decode<T>());
    }

    void decodeRoot(std::string_view json, void (*read)(Decoder&, void*), void* result) const;
};

}  // namespace foundation
