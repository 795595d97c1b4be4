#pragma once

// Private to the decoder's sources.

#include "platform/runtime/foundation/core/Date.hpp"
#include "platform/runtime/foundation/core/Text.hpp"
#include "platform/runtime/foundation/coding/internal/JSONDocument.hpp"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

namespace foundation {

class CodingPathNode;
class Decoder;

// The failure of a required key that the object lacks.
[[noreturn]] void throwKeyNotFound(const CodingPathNode& node, std::string_view key);

// What one decode call shares among its decoders and containers: the parsed
// document, the date rule, and the stacks that open keyed containers keep
// their field indexes on. Containers nest, so they take and give back their
// share from the top.
class DecodingContext {
public:
    using DateRule = std::function<Date(Decoder&)>;
    using Entry = JSONDocument::Entry;
    using Kind = JSONDocument::Kind;

    // A field of an object being read: its key as it stands in the parsed
    // document, and the index of its value's entry.
    struct Field {
        const char* key;
        std::uint32_t keyLength;
        std::uint32_t keyHash;  // for objects looked up through a hash table
        std::size_t value;

        [[nodiscard]] std::string_view keyView() const noexcept { return {key, keyLength}; }
    };

    DecodingContext(const JSONDocument& document, const DateRule* dateRule)
        : document_(document), dateRule_(dateRule) {
        // Enough for the records nested in one cached user, so that the stacks rarely grow.
        fields_.reserve(1024);
        slots_.reserve(1024);
    }

    [[nodiscard]] const JSONDocument& document() const noexcept { return document_; }
    [[nodiscard]] const Entry& at(std::size_t index) const noexcept { return document_.at(index); }
    [[nodiscard]] const DateRule* dateRule() const noexcept { return dateRule_; }

    // A record decoded earlier from a value the same as the one at `index`,
    // by its type's tag; none when there is none.
    [[nodiscard]] std::shared_ptr<void> shared(const void* type, std::size_t index, std::uint64_t fingerprint) const;
    void share(const void* type, std::size_t index, std::uint64_t fingerprint, std::shared_ptr<void> record);

    // Where the decode's texts keep their bytes.
    TextArena& texts() noexcept { return texts_; }
    std::vector<Field>& fields() noexcept { return fields_; }
    std::vector<std::uint32_t>& slots() noexcept { return slots_; }

private:
    const JSONDocument& document_;
    const DateRule* dateRule_;
    std::vector<Field> fields_;
    std::vector<std::uint32_t> slots_;
    TextArena texts_;

    // An open-addressed table, grown at half full; a slot without a record is free.
    struct SharedRecord {
        const void* type = nullptr;
        std::size_t index = 0;
        std::uint64_t fingerprint = 0;
        std::shared_ptr<void> record;
    };
    std::vector<SharedRecord> sharedRecords_;
    std::size_t sharedCount_ = 0;
};

}  // namespace foundation
