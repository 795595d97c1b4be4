#include "platform/runtime/foundation/coding/internal/DecodingContext.hpp"

#include <algorithm>
#include <utility>

namespace foundation {
namespace {

// A lookup gives up after this many slots: a value not found by then is read
// afresh, so that no crafted document can make lookups slow.
constexpr std::size_t probeLimit = 16;

}  // namespace

std::shared_ptr<void> DecodingContext::shared(const void* type, std::size_t index, std::uint64_t fingerprint) const {
    if (sharedRecords_.empty()) {
        return nullptr;
    }
    const std::size_t mask = sharedRecords_.size() - 1;
    std::size_t slot = fingerprint & mask;
    for (std::size_t probe = 0; probe < probeLimit; ++probe, slot = (slot + 1) & mask) {
        const SharedRecord& candidate = sharedRecords_[slot];
        if (!candidate.record) {
            return nullptr;
        }
        if (candidate.fingerprint == fingerprint && candidate.type == type &&
            document_.sameValue(candidate.index, index)) {
            return candidate.record;
        }
    }
    return nullptr;
}

void DecodingContext::share(const void* type, std::size_t index, std::uint64_t fingerprint,
                            std::shared_ptr<void> record) {
    if (2 * (sharedCount_ + 1) > sharedRecords_.size()) {
        const std::size_t capacity = std::max<std::size_t>(64, 2 * sharedRecords_.size());
        std::vector<SharedRecord> old = std::exchange(sharedRecords_, std::vector<SharedRecord>(capacity));
        sharedCount_ = 0;
        for (auto& each : old) {
            if (each.record) {
                share(each.type, each.index, each.fingerprint, std::move(each.record));
            }
        }
    }
    const std::size_t mask = sharedRecords_.size() - 1;
    std::size_t slot = fingerprint & mask;
    for (std::size_t probe = 0; sharedRecords_[slot].record; ++probe, slot = (slot + 1) & mask) {
        if (probe + 1 == probeLimit) {
            return;  // beyond where a lookup would look: the value is just not shared
        }
    }
    sharedRecords_[slot] = {type, index, fingerprint, std::move(record)};
    ++sharedCount_;
}

}  // namespace foundation
