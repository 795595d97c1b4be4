#include "bench/json_bench/DOMWalk.hpp"

#include <bit>
#include <string_view>

namespace bench {
namespace {

std::uint64_t checksumOf(std::string_view text) {
    // The first byte too, so that the text itself is read and not only its length.
    return text.size() + (text.empty() ? 0 : static_cast<unsigned char>(text.front()));
}

}  // namespace

std::uint64_t checksumOfEveryValue(simdjson::dom::element element) {
    using Type = simdjson::dom::element_type;
    switch (element.type()) {
        case Type::ARRAY: {
            std::uint64_t sum = 1;
            const simdjson::dom::array items = element.get_array().value_unsafe();
            for (const auto item : items) {
                sum += checksumOfEveryValue(item);
            }
            return sum;
        }
        case Type::OBJECT: {
            std::uint64_t sum = 2;
            const simdjson::dom::object fields = element.get_object().value_unsafe();
            for (const auto field : fields) {
                sum += checksumOf(field.key) + checksumOfEveryValue(field.value);
            }
            return sum;
        }
        case Type::STRING:
            return checksumOf(element.get_string().value_unsafe());
        case Type::INT64:
            return static_cast<std::uint64_t>(element.get_int64().value_unsafe());
        case Type::UINT64:
            return element.get_uint64().value_unsafe();
        case Type::DOUBLE:
            return std::bit_cast<std::uint64_t>(element.get_double().value_unsafe());
        case Type::BOOL:
            return element.get_bool().value_unsafe() ? 3 : 4;
        case Type::NULL_VALUE:
            return 5;
    }
    return 0;
}

}  // namespace bench
