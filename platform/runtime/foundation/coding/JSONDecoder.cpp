#include "platform/runtime/foundation/coding/JSONDecoder.hpp"

#include "platform/runtime/foundation/coding/internal/DecodingContext.hpp"
#include "platform/runtime/foundation/coding/internal/JSONDocument.hpp"
#include "platform/runtime/foundation/coding/DecodingError.hpp"

#include <optional>
#include <string>

namespace foundation {
namespace {

// A document keeps its buffers from one parse to the next; making them anew
// for every read of a large document would cost more than the parse. Each
// thread keeps one, and a decode started while the thread's document is busy
// (a date rule that decodes, say) gets a document of its own.
class DocumentLease {
public:
    DocumentLease() {
        if (!threadDocument_.busy) {
            threadDocument_.busy = true;
            document_ = &threadDocument_.document;
        } else {
            own_.emplace();
            document_ = &*own_;
        }
    }
    ~DocumentLease() {
        if (document_ == &threadDocument_.document) {
            threadDocument_.busy = false;
        }
    }
    DocumentLease(const DocumentLease&) = delete;
    DocumentLease& operator=(const DocumentLease&) = delete;

    JSONDocument& document() noexcept { return *document_; }

private:
    struct ThreadDocument {
        JSONDocument document;
        bool busy = false;
    };
    static thread_local ThreadDocument threadDocument_;

    JSONDocument* document_ = nullptr;
    std::optional<JSONDocument> own_;
};

thread_local DocumentLease::ThreadDocument DocumentLease::threadDocument_;

}  // namespace

JSONDecoder::DateDecodingStrategy JSONDecoder::DateDecodingStrategy::custom(
    std::function<Date(Decoder&)> rule) {
    DateDecodingStrategy strategy;
    strategy.rule_ = std::move(rule);
    return strategy;
}

void JSONDecoder::decodeRoot(std::string_view json, void (*read)(Decoder&, void*), void* result) const {
    DocumentLease lease;
    const auto& rule = dateDecodingStrategy.rule_;
    for (const bool exactNumbers : {false, true}) {
        JSONDocument::Failure failure;
        if (!lease.document().parse(json, maximumDepth, exactNumbers, failure)) {
            throw DecodingError(DecodingError::Kind::dataCorrupted, CodingPath(),
                                "The given data was not valid JSON. " + failure.description);
        }
        DecodingContext context(lease.document(), rule ? &rule : nullptr);
        Decoder root(context, 0, CodingPathNode());
        try {
            read(root, result);
            return;
        } catch (const JSONDocument::ExactNumbersNeeded&) {
            // A field needs a number's text: read the document again with every number as written.
            if (exactNumbers) {
                throw;
            }
        }
    }
}

}  // namespace foundation
