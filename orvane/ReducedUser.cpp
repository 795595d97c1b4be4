#include "orvane/ReducedUser.hpp"

#include "platform/runtime/foundation/coding/RecordFields.hpp"

namespace orvane {

namespace {

using foundation::Optional;
using foundation::Required;

using Fields = foundation::RecordFields<
    Required<"id", &ReducedUser::id>,
    Optional<"journals", &ReducedUser::journals>>;

}  // namespace

ReducedUser ReducedUser::decode(foundation::Decoder& decoder) { return Fields::decode(decoder); }

void ReducedUser::encode(foundation::Encoder& encoder) const { Fields::encode(encoder, *this); }

}  // namespace orvane
