#pragma once

#include "platform/runtime/foundation/core/Data.hpp"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace foundation {

// Writes compact JSON text front to back: no whitespace, members in the order
// they are written. Separators follow from what was written last, so callers
// only open, write and close.
class JSONWriter {
public:
    void beginObject();
    void endObject() { out_.push_back('}'); }
    void beginList();
    void endList() { out_.push_back(']'); }
    // False, with nothing written, when the key is not UTF-8.
    [[nodiscard]] bool key(std::string_view key);
    // A key known to need no escaping (printable ASCII other than the quote,
    // the backslash and the slash), written as it stands.
    void plainKey(std::string_view key);

    void null();
    void boolean(bool value);
    void integer(std::int64_t value);
    // Finite values only: the shortest text that reads back as the same double
    // (integral values without a fraction, 60 rather than 60.0).
    void number(double value);
    // The shortest text that reads back as the same float: 12.1f is 12.1.
    void number(float value);
    // False, with nothing written, when the text is not UTF-8.
    [[nodiscard]] bool string(std::string_view utf8);

    // Counts the containers open, so that the encoder can refuse a value
    // nested beyond what any decoder would read back; gives the new depth.
    std::size_t enter() noexcept { return ++depth_; }
    void leave() noexcept { --depth_; }

    [[nodiscard]] Data take() { return Data(std::move(out_)); }

private:
    void separateValue();
    // The shortest text that reads back as the same number, separated from what precedes it.
    template <typename Number>
    void shortest(Number value);
    void append(std::string_view text) { out_.insert(out_.end(), text.begin(), text.end()); }
    void escaped(std::string_view utf8);

    std::vector<std::uint8_t> out_;
    std::size_t depth_ = 0;
};

}  // namespace foundation
