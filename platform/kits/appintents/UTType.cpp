#include "platform/kits/appintents/UTType.hpp"

#include <algorithm>
#include <array>
#include <cctype>

namespace appintents {
namespace {

struct KnownType {
    std::string_view identifier;
    std::string_view mimeType;
};

// The common types a journal entry carries. "public.item", "public.data" and "public.content" are
// abstract: no MIME type names them.
constexpr std::array knownTypes{
    KnownType{"com.adobe.pdf", "application/pdf"},
    KnownType{"public.jpeg", "image/jpeg"},
    KnownType{"public.png", "image/png"},
    KnownType{"com.compuserve.gif", "image/gif"},
    KnownType{"public.heic", "image/heic"},
    KnownType{"public.heif", "image/heif"},
    KnownType{"public.tiff", "image/tiff"},
    KnownType{"org.webmproject.webp", "image/webp"},
    KnownType{"public.svg-image", "image/svg+xml"},
    KnownType{"com.microsoft.bmp", "image/bmp"},
    KnownType{"public.plain-text", "text/plain"},
    KnownType{"public.utf8-plain-text", "text/plain"},
    KnownType{"public.html", "text/html"},
    KnownType{"public.comma-separated-values-text", "text/csv"},
    KnownType{"net.daringfireball.markdown", "text/markdown"},
    KnownType{"public.rtf", "text/rtf"},
    KnownType{"public.json", "application/json"},
    KnownType{"public.xml", "application/xml"},
    KnownType{"public.zip-archive", "application/zip"},
    KnownType{"public.mpeg-4", "video/mp4"},
    KnownType{"com.apple.quicktime-movie", "video/quicktime"},
    KnownType{"public.mp3", "audio/mpeg"},
    KnownType{"public.mpeg-4-audio", "audio/mp4"},
    KnownType{"com.microsoft.waveform-audio", "audio/wav"},
    KnownType{"org.xiph.ogg", "audio/ogg"},
};

bool sameIgnoringCase(std::string_view one, std::string_view other) {
    return std::ranges::equal(one, other, [](unsigned char a, unsigned char b) {
        return std::tolower(a) == std::tolower(b);
    });
}

}  // namespace

std::optional<UTType> UTType::fromMIMEType(std::string_view mimeType) {
    const auto found = std::ranges::find_if(knownTypes, [&](const KnownType& known) {
        return sameIgnoringCase(known.mimeType, mimeType);
    });
    return found == knownTypes.end() ? std::nullopt : std::optional(UTType(std::string(found->identifier)));
}

std::optional<std::string> UTType::preferredMIMEType() const {
    const auto found = std::ranges::find(knownTypes, identifier_, &KnownType::identifier);
    return found == knownTypes.end() ? std::nullopt : std::optional(std::string(found->mimeType));
}

}  // namespace appintents
