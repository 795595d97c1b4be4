#include "platform/runtime/foundation/coding/internal/JSONDocument.hpp"

#include "platform/runtime/foundation/coding/internal/JSONNumber.hpp"
#include "platform/runtime/foundation/coding/internal/KeyBytes.hpp"

#include <simdjson.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <new>

namespace foundation {
namespace {

namespace ondemand = simdjson::ondemand;
using simdjson::error_code;
using Entry = JSONDocument::Entry;
using Kind = JSONDocument::Kind;

std::string describe(error_code error, std::size_t maximumDepth) {
    switch (error) {
    case simdjson::EMPTY:
        return "There is no value.";
    case simdjson::UTF8_ERROR:
        return "The text is not valid UTF-8.";
    case simdjson::DEPTH_ERROR:
        return "Values are nested more than " + std::to_string(maximumDepth) + " levels deep.";
    case simdjson::NUMBER_ERROR:
        return "A number is malformed.";
    case simdjson::STRING_ERROR:
        return "A string holds an invalid escape.";
    case simdjson::UNCLOSED_STRING:
        return "A string is not closed.";
    case simdjson::UNESCAPED_CHARS:
        return "A string holds a control character that is not escaped.";
    case simdjson::TRAILING_CONTENT:
        return "Text follows the value.";
    case simdjson::CAPACITY:
    case simdjson::MEMALLOC:
        return "The document is too large.";
    default:
        return std::string(simdjson::error_message(error)) + ".";
    }
}

std::string_view withoutTrailingSpace(std::string_view token) noexcept {
    while (!token.empty()) {
        const char c = token.back();
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r') {
            break;
        }
        token.remove_suffix(1);
    }
    return token;
}

using Entries = JSONDocument::Entries;

// The index of the entry after the value at `index`.
std::size_t after(const Entries& entries, std::size_t index) noexcept {
    const Entry& entry = entries[index];
    return entry.kind == Kind::object || entry.kind == Kind::list ? entry.size : index + 1;
}

// Sums up an object's keys while they are laid out.
class KeySummary {
public:
    [[gnu::always_inline]] void add(std::string_view key) noexcept {
        bits_ |= JSONDocument::keyBit(key);
        ++count_;
    }

    // `object` is the index of the object's entry; its keys and values are laid out.
    void write(Entries& entries, std::size_t object) const noexcept {
        Entry& entry = entries[object];
        if (count_ > JSONDocument::smallObjectLimit) {
            entry.fields = JSONDocument::smallObjectLimit + 1;
            return;
        }
        // Only keys that share a bit can repeat, and then there are fewer
        // bits than keys; most objects have none.
        bool repeats = false;
        if (static_cast<std::size_t>(std::popcount(bits_)) < count_) {
            const std::size_t end = entry.size;
            for (std::size_t i = object + 1; i < end && !repeats; i = after(entries, i + 1)) {
                for (std::size_t j = after(entries, i + 1); j < end; j = after(entries, j + 1)) {
                    if (entries[i].view() == entries[j].view()) {
                        repeats = true;
                        break;
                    }
                }
            }
        }
        entry.keyBits = bits_;
        entry.fields = static_cast<std::uint8_t>(count_ | (repeats ? JSONDocument::repeatsKey : 0));
    }

private:
    std::size_t count_ = 0;
    std::uint64_t bits_ = 0;
};

// Lays out the tree that the quick parser built (and checked) as entries.
// Scalars are laid out in the loops of their containers, so that only
// containers cost a call; a container makes room for a field (or an element)
// at a time and writes through a cursor of its own, which it takes up again
// after a nested container.
class TreeLayout {
public:
    explicit TreeLayout(Entries& entries) : entries_(entries) {}

    // False for a value it cannot lay out without the number's text.
    [[nodiscard]] bool value(simdjson::dom::element element) {
        switch (element.type()) {
        case Type::OBJECT:
            return object(element);
        case Type::ARRAY:
            return list(element);
        default:
            entries_.reserveMore(1);
            if (!scalar(element, entries_[entries_.size()])) {
                return false;
            }
            entries_.resize(entries_.size() + 1);
            return true;
        }
    }

private:
    using Type = simdjson::dom::element_type;

    [[gnu::noinline]] bool object(simdjson::dom::element element) {
        entries_.reserveMore(1);
        const std::size_t start = entries_.size();
        Place place = resume(1);
        KeySummary keys;
        for (const simdjson::dom::key_value_pair field : simdjson::dom::object(element)) {
            if (place.limit - place.out < 2) {
                place = makeRoom(place.out, 2);
            }
            place.out[0] = text(field.key, Kind::string);
            keys.add(field.key);
            const Type type = field.value.type();
            if (type == Type::OBJECT || type == Type::ARRAY) {
                suspend(place.out + 1);
                if (!(type == Type::OBJECT ? object(field.value) : list(field.value))) {
                    return false;
                }
                place = resume(0);
                continue;
            }
            if (!scalar(field.value, place.out[1])) {
                return false;
            }
            place.out += 2;
        }
        suspend(place.out);
        entries_[start] = container(Kind::object, entries_.size());
        keys.write(entries_, start);
        return true;
    }

    [[gnu::noinline]] bool list(simdjson::dom::element element) {
        entries_.reserveMore(1);
        const std::size_t start = entries_.size();
        Place place = resume(1);
        std::size_t count = 0;
        for (const simdjson::dom::element item : simdjson::dom::array(element)) {
            ++count;
            if (place.out == place.limit) {
                place = makeRoom(place.out, 1);
            }
            const Type type = item.type();
            if (type == Type::OBJECT || type == Type::ARRAY) {
                suspend(place.out);
                if (!(type == Type::OBJECT ? object(item) : list(item))) {
                    return false;
                }
                place = resume(0);
                continue;
            }
            if (!scalar(item, *place.out)) {
                return false;
            }
            ++place.out;
        }
        suspend(place.out);
        entries_[start] = container(Kind::list, entries_.size());
        entries_[start].count = count;
        return true;
    }

    // A container's loop writes through a place of its own, up to a limit,
    // and hands it back to the entries around a nested container and to make
    // room.
    struct Place {
        Entry* out;
        Entry* limit;
    };
    void suspend(const Entry* out) noexcept {
        entries_.resize(static_cast<std::size_t>(out - entries_.data()));
    }
    // The place `skip` entries after the last one, which must have room.
    Place resume(std::size_t skip) noexcept {
        Entry* const end = entries_.data() + entries_.size();
        return {end + skip, end + entries_.room()};
    }
    [[gnu::noinline]] Place makeRoom(const Entry* out, std::size_t count) {
        suspend(out);
        entries_.reserveMore(count);
        return resume(0);
    }

    [[gnu::always_inline]] static Entry text(std::string_view text, Kind kind) noexcept {
        Entry entry;
        entry.text = text.data();
        entry.size = static_cast<std::uint32_t>(text.size());
        entry.kind = kind;
        entry.fields = 0;
        return entry;
    }

    [[gnu::always_inline]] static Entry container(Kind kind, std::size_t end) noexcept {
        Entry entry;
        entry.count = 0;
        entry.size = static_cast<std::uint32_t>(end);
        entry.kind = kind;
        entry.fields = 0;
        return entry;
    }

    // Writes the scalar to `out`; false for a value it cannot lay out.
    [[gnu::always_inline]] static bool scalar(simdjson::dom::element element, Entry& out) {
        Entry entry = text({}, Kind::null);
        switch (element.type()) {
        case Type::STRING:
            entry = text(element.get_string().value_unsafe(), Kind::string);
            break;
        case Type::INT64:
            entry.kind = Kind::integer;
            entry.integer = element.get_int64().value_unsafe();
            break;
        case Type::UINT64:
            entry.kind = Kind::largeInteger;
            entry.largeInteger = element.get_uint64().value_unsafe();
            break;
        case Type::DOUBLE:
            entry.kind = Kind::nearestDouble;
            entry.nearestDouble = element.get_double().value_unsafe();
            break;
        case Type::BOOL:
            entry.kind = element.get_bool().value_unsafe() ? Kind::trueValue : Kind::falseValue;
            break;
        case Type::NULL_VALUE:
            break;
        default:
            return false;
        }
        out = entry;
        return true;
    }

    Entries& entries_;
};

// Walks the whole document once through the forward-only reader, which
// leaves numbers as text, and lays every value out as entries. Walking it all
// is what checks the whole document: every string, atom and number is checked.
class Walker {
public:
    Walker(Entries& entries, std::size_t maximumDepth)
        : entries_(entries), maximumDepth_(maximumDepth) {}

    error_code root(ondemand::document& document, const char* end) {
        ondemand::json_type type;
        SIMDJSON_TRY(document.type().get(type));
        switch (type) {
        case ondemand::json_type::object: {
            ondemand::object object;
            SIMDJSON_TRY(document.get_object().get(object));
            SIMDJSON_TRY(fields(object, 1));
            return atEnd(document);
        }
        case ondemand::json_type::array: {
            ondemand::array array;
            SIMDJSON_TRY(document.get_array().get(array));
            SIMDJSON_TRY(elements(array, 1));
            return atEnd(document);
        }
        default:
            break;
        }
        // A value alone: its token must reach the end of the text.
        std::string_view token;
        SIMDJSON_TRY(document.raw_json_token().get(token));
        if (token.data() + token.size() != end) {
            return simdjson::TRAILING_CONTENT;
        }
        switch (type) {
        case ondemand::json_type::string: {
            std::string_view text;
            SIMDJSON_TRY(document.get_string().get(text));
            return push(text, Kind::string);
        }
        case ondemand::json_type::number:
            return number(withoutTrailingSpace(token));
        case ondemand::json_type::boolean: {
            bool value = false;
            SIMDJSON_TRY(document.get_bool().get(value));
            return push({}, value ? Kind::trueValue : Kind::falseValue);
        }
        default: {
            bool isNull = false;
            SIMDJSON_TRY(document.is_null().get(isNull));
            return isNull ? push({}, Kind::null) : simdjson::N_ATOM_ERROR;
        }
        }
    }

private:
    static error_code atEnd(ondemand::document& document) {
        const char* location = nullptr;
        return document.current_location().get(location) == simdjson::OUT_OF_BOUNDS
                   ? simdjson::SUCCESS
                   : simdjson::TRAILING_CONTENT;
    }

    // `depth` counts the containers around the value.
    error_code value(ondemand::value& value, std::size_t depth) {
        ondemand::json_type type;
        SIMDJSON_TRY(value.type().get(type));
        switch (type) {
        case ondemand::json_type::object: {
            ondemand::object object;
            SIMDJSON_TRY(value.get_object().get(object));
            return fields(object, depth + 1);
        }
        case ondemand::json_type::array: {
            ondemand::array array;
            SIMDJSON_TRY(value.get_array().get(array));
            return elements(array, depth + 1);
        }
        case ondemand::json_type::string:
            return string(value, withoutTrailingSpace(value.raw_json_token()));
        case ondemand::json_type::number:
            return number(withoutTrailingSpace(value.raw_json_token()));
        case ondemand::json_type::boolean: {
            bool flag = false;
            SIMDJSON_TRY(value.get_bool().get(flag));
            return push({}, flag ? Kind::trueValue : Kind::falseValue);
        }
        case ondemand::json_type::null: {
            bool isNull = false;
            SIMDJSON_TRY(value.is_null().get(isNull));
            return isNull ? push({}, Kind::null) : simdjson::N_ATOM_ERROR;
        }
        }
        return simdjson::TAPE_ERROR;
    }

    error_code fields(ondemand::object& object, std::size_t depth) {
        if (depth > maximumDepth_) {
            return simdjson::DEPTH_ERROR;
        }
        const std::size_t start = entries_.size();
        entries_.push_back(Entry{{nullptr}, 0, Kind::object, 0});
        KeySummary keys;
        for (auto result : object) {
            ondemand::field field;
            SIMDJSON_TRY(std::move(result).get(field));
            SIMDJSON_TRY(key(field));
            keys.add(entries_.back().view());
            SIMDJSON_TRY(value(field.value(), depth));
        }
        entries_[start].size = static_cast<std::uint32_t>(entries_.size());
        keys.write(entries_, start);
        return simdjson::SUCCESS;
    }

    error_code elements(ondemand::array& array, std::size_t depth) {
        if (depth > maximumDepth_) {
            return simdjson::DEPTH_ERROR;
        }
        const std::size_t start = entries_.size();
        entries_.push_back(Entry{{nullptr}, 0, Kind::list, 0});
        std::size_t count = 0;
        for (auto result : array) {
            ondemand::value element;
            SIMDJSON_TRY(std::move(result).get(element));
            SIMDJSON_TRY(value(element, depth));
            ++count;
        }
        close(start, count);
        return simdjson::SUCCESS;
    }

    void close(std::size_t start, std::size_t count) noexcept {
        entries_[start].count = count;
        entries_[start].size = static_cast<std::uint32_t>(entries_.size());
    }

    // Most strings hold no escape: they are read where they stand in the
    // text, which the parser has checked for UTF-8 and for control characters
    // already. The others are unescaped into the parser's buffer.
    error_code string(ondemand::value& value, std::string_view token) {
        const std::string_view content = token.substr(1, token.size() - 2);
        if (std::memchr(content.data(), '\\', content.size()) == nullptr) {
            return push(content, Kind::string);
        }
        std::string_view text;
        SIMDJSON_TRY(value.get_string().get(text));
        return push(text, Kind::string);
    }

    // A key ends at the last quote before the colon that the reader has
    // checked follows it, and its value starts after that colon.
    error_code key(ondemand::field& field) {
        const char* start = field.key().raw();
        const char* end = field.value().raw_json_token().data();
        do {
            --end;
        } while (*end != ':');
        do {
            --end;
        } while (*end != '"');
        const std::size_t size = static_cast<std::size_t>(end - start);
        if (std::memchr(start, '\\', size) == nullptr) {
            return push({start, size}, Kind::string);
        }
        std::string_view text;
        SIMDJSON_TRY(field.unescaped_key().get(text));
        return push(text, Kind::string);
    }

    error_code number(std::string_view token) {
        // Plain digits that surely fit are read at once.
        const bool negative = token[0] == '-';
        const std::size_t digits = token.size() - (negative ? 1 : 0);
        if (digits > 0 && digits <= 18 && (digits == 1 || token[negative ? 1 : 0] != '0')) {
            std::int64_t integer = 0;
            bool plain = true;
            for (std::size_t i = negative ? 1 : 0; i < token.size(); ++i) {
                const auto digit = static_cast<unsigned>(token[i] - '0');
                if (digit > 9) {
                    plain = false;
                    break;
                }
                integer = integer * 10 + static_cast<std::int64_t>(digit);
            }
            if (plain) {
                entries_.push_back(Entry{{nullptr}, 0, Kind::integer, 0});
                entries_.back().integer = negative ? -integer : integer;
                return simdjson::SUCCESS;
            }
        }
        if (!JSONNumber::isValid(token)) {
            return simdjson::NUMBER_ERROR;
        }
        return push(token, Kind::number);
    }

    error_code push(std::string_view text, Kind kind) {
        entries_.push_back(Entry{{text.data()}, static_cast<std::uint32_t>(text.size()), kind, 0});
        return simdjson::SUCCESS;
    }

    Entries& entries_;
    std::size_t maximumDepth_;
};

}  // namespace

// The quick parser, and the exact one with the padded copy of the text it
// reads; all keep their buffers from one document to the next.
struct JSONDocument::Parsers {
    simdjson::dom::parser quick;
    ondemand::parser exact;
    std::unique_ptr<char[]> text;
    std::size_t capacity = 0;

    const char* copy(std::string_view json) {
        const std::size_t needed = json.size() + simdjson::SIMDJSON_PADDING;
        if (needed > capacity) {
            text = std::make_unique_for_overwrite<char[]>(needed);
            capacity = needed;
        }
        if (!json.empty()) {
            std::memcpy(text.get(), json.data(), json.size());
        }
        std::memset(text.get() + json.size(), 0, simdjson::SIMDJSON_PADDING);
        return text.get();
    }
};

void JSONDocument::Entries::grow(std::size_t count) {
    const std::size_t capacity = std::max({capacity_ * 2, size_ + count, std::size_t{1024}});
    auto data = std::make_unique_for_overwrite<Entry[]>(capacity);
    if (size_ != 0) {
        std::memcpy(data.get(), data_.get(), size_ * sizeof(Entry));
    }
    data_ = std::move(data);
    capacity_ = capacity;
}

JSONDocument::JSONDocument() : parsers_(std::make_unique<Parsers>()) {}

namespace {

// What of an entry two values must share, apart from its text: its kind, and
// for a container where it ends from where it starts and how many it holds.
std::uint64_t shape(const JSONDocument::Entry& entry, std::size_t index) noexcept {
    std::uint64_t bits = static_cast<std::uint64_t>(entry.kind) | std::uint64_t{entry.fields} << 8;
    switch (entry.kind) {
    case JSONDocument::Kind::object:
    case JSONDocument::Kind::list:
        return bits | static_cast<std::uint64_t>(entry.size - index) << 16;
    case JSONDocument::Kind::string:
    case JSONDocument::Kind::number:
        return bits | std::uint64_t{entry.size} << 16;
    default:
        return bits;
    }
}

// The entry's value beyond its shape: a number's bits, or the count of a list's elements.
std::uint64_t payload(const JSONDocument::Entry& entry) noexcept {
    switch (entry.kind) {
    case JSONDocument::Kind::list:
        return entry.count;
    case JSONDocument::Kind::integer:
        return static_cast<std::uint64_t>(entry.integer);
    case JSONDocument::Kind::largeInteger:
        return entry.largeInteger;
    case JSONDocument::Kind::nearestDouble:
        return std::bit_cast<std::uint64_t>(entry.nearestDouble);
    default:
        return 0;
    }
}

bool hasText(JSONDocument::Kind kind) noexcept {
    return kind == JSONDocument::Kind::string || kind == JSONDocument::Kind::number;
}

// The whole text, eight bytes at a time: values that differ anywhere must
// rarely share a fingerprint, or a document of near-alike values would make
// every lookup compare them all.
std::uint64_t textHash(const JSONDocument::Entry& entry) noexcept {
    std::uint64_t hash = 0x9E3779B97F4A7C15ull ^ entry.size;
    std::size_t i = 0;
    for (; i + 8 <= entry.size; i += 8) {
        hash = std::rotl((hash ^ keybytes::load(entry.text + i, 8)) * 0xBF58476D1CE4E5B9ull, 27);
    }
    return (hash ^ keybytes::load(entry.text + i, entry.size - i)) * 0x94D049BB133111EBull;
}

// Spreads every bit of the hash over all the others, so that any bits of it can pick a slot.
std::uint64_t finished(std::uint64_t hash) noexcept {
    hash ^= hash >> 33;
    hash *= 0xFF51AFD7ED558CCDull;
    hash ^= hash >> 33;
    hash *= 0xC4CEB9FE1A85EC53ull;
    return hash ^ (hash >> 33);
}

}  // namespace

std::uint64_t JSONDocument::fingerprint(std::size_t index) const noexcept {
    std::uint64_t hash = 0xCBF29CE484222325ull;
    const auto mix = [&hash](std::uint64_t word) { hash = (hash ^ word) * 0x100000001B3ull; };
    for (std::size_t i = index, end = after(index); i < end; ++i) {
        const Entry& entry = entries_[i];
        mix(shape(entry, i));
        mix(payload(entry));
        if (hasText(entry.kind)) {
            mix(textHash(entry));
        }
    }
    return finished(hash);
}

bool JSONDocument::sameValue(std::size_t a, std::size_t b) const noexcept {
    const std::size_t count = after(a) - a;
    if (after(b) - b != count) {
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const Entry& left = entries_[a + i];
        const Entry& right = entries_[b + i];
        if (shape(left, a + i) != shape(right, b + i) || payload(left) != payload(right) ||
            (hasText(left.kind) && left.view() != right.view())) {
            return false;
        }
    }
    return true;
}

JSONDocument::~JSONDocument() = default;

bool JSONDocument::parse(std::string_view json, std::size_t maximumDepth, bool exactNumbers,
                         Failure& failure) {
    entries_.clear();
    // Records take an entry for every 13 or so bytes of their text: room for one every 8 up front
    // spares a large document the copies of growing a buffer it has not used before.
    entries_.reserveMore(json.size() / 8);
    const bool parsed =
        exactNumbers ? parseExactly(json, maximumDepth, failure) : parseQuickly(json, maximumDepth, failure);
    if (!parsed) {
        entries_.clear();
    }
    return parsed;
}

bool JSONDocument::parseQuickly(std::string_view json, std::size_t maximumDepth, Failure& failure) {
    auto& parser = parsers_->quick;
    if (parser.max_depth() != maximumDepth &&
        parser.allocate(simdjson::dom::MINIMAL_DOCUMENT_CAPACITY, maximumDepth) != simdjson::SUCCESS) {
        throw std::bad_alloc();
    }
    // The parser reads past the end of its input, so it works on a padded
    // copy. An empty body has no bytes at all, and the copy must not be
    // handed a null pointer even for none.
    const char* bytes = json.empty() ? "" : json.data();
    simdjson::dom::element root;
    const error_code error = parser.parse(bytes, json.size(), true).get(root);
    if (error == simdjson::NUMBER_ERROR) {
        // A number it cannot hold may be one that no field reads.
        return parseExactly(json, maximumDepth, failure);
    }
    if (error != simdjson::SUCCESS) {
        failure.description = describe(error, maximumDepth);
        return false;
    }
    if (!TreeLayout(entries_).value(root)) {
        entries_.clear();
        return parseExactly(json, maximumDepth, failure);
    }
    return true;
}

bool JSONDocument::parseExactly(std::string_view json, std::size_t maximumDepth, Failure& failure) {
    const char* text = parsers_->copy(json);
    error_code error = simdjson::SUCCESS;
    {
        ondemand::document document;
        error = parsers_->exact.iterate(text, json.size(), parsers_->capacity).get(document);
        if (error == simdjson::SUCCESS) {
            error = Walker(entries_, maximumDepth).root(document, text + json.size());
        }
    }
    if (error != simdjson::SUCCESS) {
        failure.description = describe(error, maximumDepth);
        return false;
    }
    return true;
}

}  // namespace foundation
