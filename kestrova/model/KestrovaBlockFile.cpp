#include "kestrova/model/KestrovaBlockFile.hpp"

#include "platform/runtime/foundation/coding/RecordFields.hpp"

namespace kestrova {

namespace {

using foundation::Optional;
using foundation::Required;

using Fields = foundation::RecordFields<
    Required<"id", &KestrovaBlockFile::id>,
    Optional<"width", &KestrovaBlockFile::width>,
    Optional<"height", &KestrovaBlockFile::height>,
    Optional<"duration", &KestrovaBlockFile::duration>,
    Required<"size", &KestrovaBlockFile::size>,
    Required<"mimeType", &KestrovaBlockFile::mimeType>,
    Required<"url", &KestrovaBlockFile::url>>;

}  // namespace

KestrovaBlockFile KestrovaBlockFile::decode(foundation::Decoder& decoder) { return Fields::decode(decoder); }

void KestrovaBlockFile::encode(foundation::Encoder& encoder) const { Fields::encode(encoder, *this); }

void KestrovaBlockFile::hash(foundation::Hasher& hasher) const { Fields::hash(hasher, *this); }

}  // namespace kestrova
