#pragma once

// Private to the decoder's sources: comparing an object's keys.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace foundation::keybytes {

[[gnu::always_inline]] inline std::uint64_t load(const char* bytes, std::size_t count) {
    std::uint64_t word = 0;
    std::memcpy(&word, bytes, count);
    return word;
}

// Keys are short: comparing them in words beats a call into the C library.
[[gnu::always_inline]] inline bool sameBytes(const char* a, const char* b, std::size_t n) {
    if (n >= 8) {
        for (std::size_t i = 0; i + 8 < n; i += 8) {
            if (load(a + i, 8) != load(b + i, 8)) {
                return false;
            }
        }
        return load(a + n - 8, 8) == load(b + n - 8, 8);
    }
    if (n >= 4) {
        return load(a, 4) == load(b, 4) && load(a + n - 4, 4) == load(b + n - 4, 4);
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (a[i] != b[i]) {
            return false;
        }
    }
    return true;
}

[[gnu::always_inline]] inline bool sameKey(const char* text, std::size_t length, std::string_view key) {
    return length == key.size() && sameBytes(text, key.data(), key.size());
}

}  // namespace foundation::keybytes
