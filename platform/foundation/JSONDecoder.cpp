#include "platform/foundation/JSONDecoder.hpp"

#include "platform/foundation/internal/DecodingContext.hpp"
#include "platform/foundation/DecodingError.hpp"

#include <new>
#include <optional>
#include <string>

namespace foundation {
namespace {

std::string describe(simdjson::error_code error) {
    switch (error) {
    case simdjson::EMPTY:
        return "There is no value.";
    case simdjson::UTF8_ERROR:
        return "The text is not valid UTF-8.";
    case simdjson::DEPTH_ERROR:
        return "Values are nested more than " + std::to_string(JSONDecoder::maximumDepth) + " levels deep.";
    case simdjson::NUMBER_ERROR:
        return "A number is malformed or beyond the range of a 64-bit integer and of a double.";
    case simdjson::STRING_ERROR:
        return "A string holds an invalid escape.";
    case simdjson::UNCLOSED_STRING:
        return "A string is not closed.";
    case simdjson::CAPACITY:
    case simdjson::MEMALLOC:
        return "The document is too large.";
    default:
        return std::string(simdjson::error_message(error)) + ".";
    }
}

simdjson::dom::parser makeParser() {
    simdjson::dom::parser parser;
    if (parser.allocate(simdjson::dom::MINIMAL_DOCUMENT_CAPACITY, JSONDecoder::maximumDepth) !=
        simdjson::SUCCESS) {
        throw std::bad_alloc();
    }
    return parser;
}

// A parser keeps its buffers from one document to the next; making them anew
// for every read of a large document would cost more than the parse. Each
// thread keeps one, and a decode started while the thread's parser is busy
// (a date rule that decodes, say) gets a parser of its own.
class ParserLease {
public:
    ParserLease() {
        if (!threadParser_.busy) {
            threadParser_.busy = true;
            parser_ = &threadParser_.parser;
        } else {
            own_.emplace(makeParser());
            parser_ = &*own_;
        }
    }
    ~ParserLease() {
        if (parser_ == &threadParser_.parser) {
            threadParser_.busy = false;
        }
    }
    ParserLease(const ParserLease&) = delete;
    ParserLease& operator=(const ParserLease&) = delete;

    simdjson::dom::parser& parser() noexcept { return *parser_; }

private:
    struct ThreadParser {
        simdjson::dom::parser parser = makeParser();
        bool busy = false;
    };
    static thread_local ThreadParser threadParser_;

    simdjson::dom::parser* parser_ = nullptr;
    std::optional<simdjson::dom::parser> own_;
};

thread_local ParserLease::ThreadParser ParserLease::threadParser_;

}  // namespace

JSONDecoder::DateDecodingStrategy JSONDecoder::DateDecodingStrategy::custom(
    std::function<Date(Decoder&)> rule) {
    DateDecodingStrategy strategy;
    strategy.rule_ = std::move(rule);
    return strategy;
}

void JSONDecoder::decodeRoot(std::string_view json, void (*read)(Decoder&, void*), void* result) const {
    ParserLease lease;
    // The parser reads past the end of its input, so it works on a padded
    // copy. An empty body (Data()) has no bytes at all, and the copy must not
    // be handed a null pointer even for none.
    const char* bytes = json.empty() ? "" : json.data();
    const auto parsed = lease.parser().parse(bytes, json.size(), true);
    if (parsed.error() != simdjson::SUCCESS) {
        throw DecodingError(DecodingError::Kind::dataCorrupted, CodingPath(),
                            "The given data was not valid JSON. " + describe(parsed.error()));
    }
    const auto& rule = dateDecodingStrategy.rule_;
    DecodingContext context(lease.parser().doc, rule ? &rule : nullptr);
    // The document's first tape entry marks the root; the value follows it.
    Decoder root(context, 1, CodingPathNode());
    read(root, result);
}

}  // namespace foundation
