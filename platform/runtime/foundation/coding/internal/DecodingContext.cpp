#include "platform/runtime/foundation/coding/internal/DecodingContext.hpp"

#include <algorithm>
#include <utility>

namespace foundation {

std::shared_ptr<void> DecodingContext::shared(const void* type, std::size_t index, std::uint64_t fingerprint) const {
    if (sharedRecords_.empty()) {
        return nullptr;
    }
    const std::size_t mask = sharedRecords_.size() - 1;
    for (std::size_t slot = fingerprint & mask;; slot = (slot + 1) & mask) {
        const SharedRecord& candidate = sharedRecords_[slot];
        if (!candidate.record) {
            return nullptr;
        }
        if (candidate.fingerprint == fingerprint && candidate.type == type &&
            document_.sameValue(candidate.index, index)) {
            return candidate.record;
        }
    }
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
    while (sharedRecords_[slot].record) {
        slot = (slot + 1) & mask;
    }
    sharedRecords_[slot] = {type, index, fingerprint, std::move(record)};
    ++sharedCount_;
}

}  // namespace foundation
