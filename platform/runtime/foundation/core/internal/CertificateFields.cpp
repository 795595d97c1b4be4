#include "platform/runtime/foundation/core/internal/CertificateFields.hpp"

#include <cstddef>

namespace foundation {
namespace {

constexpr unsigned char booleanTag = 0x01;
constexpr unsigned char integerTag = 0x02;
constexpr unsigned char octetStringTag = 0x04;
constexpr unsigned char objectIdentifierTag = 0x06;
constexpr unsigned char sequenceTag = 0x30;
// The context-specific tags of the certificate's optional fields.
constexpr unsigned char versionTag = 0xa0;
constexpr unsigned char extensionsTag = 0xa3;
// 2.5.29.19, id-ce-basicConstraints, as its content octets.
constexpr std::string_view basicConstraintsIdentifier{"\x55\x1d\x13", 3};

struct Element {
    unsigned char tag = 0;
    std::string_view content;
    // Tag, length and content.
    std::string_view encoding;
};

// Takes the element at the front of the bytes; none when they do not start
// with a whole element in DER's definite form.
std::optional<Element> take(std::string_view& bytes) {
    if (bytes.size() < 2) {
        return std::nullopt;
    }
    const auto tag = static_cast<unsigned char>(bytes[0]);
    // No field read here has a tag number of several octets.
    if ((tag & 0x1f) == 0x1f) {
        return std::nullopt;
    }
    std::size_t length = static_cast<unsigned char>(bytes[1]);
    std::size_t header = 2;
    if ((length & 0x80) != 0) {
        // Zero octets is the indefinite form, which DER has not; four are
        // more than any certificate needs.
        const std::size_t octets = length & 0x7f;
        if (octets == 0 || octets > 4 || bytes.size() < header + octets) {
            return std::nullopt;
        }
        length = 0;
        for (std::size_t i = 0; i < octets; ++i) {
            length = (length << 8) | static_cast<unsigned char>(bytes[header + i]);
        }
        header += octets;
    }
    if (length > bytes.size() - header) {
        return std::nullopt;
    }
    const Element element{tag, bytes.substr(header, length), bytes.substr(0, header + length)};
    bytes.remove_prefix(header + length);
    return element;
}

std::optional<Element> take(std::string_view& bytes, unsigned char tag) {
    auto element = take(bytes);
    if (!element || element->tag != tag) {
        return std::nullopt;
    }
    return element;
}

// Whether one basicConstraints value says cA TRUE; none when it is malformed.
std::optional<bool> saysAuthority(std::string_view value) {
    const auto constraints = take(value, sequenceTag);
    if (!constraints || !value.empty()) {
        return std::nullopt;
    }
    std::string_view fields = constraints->content;
    if (fields.empty()) {
        // cA is FALSE by default, and DER leaves a default out.
        return false;
    }
    const auto first = take(fields);
    if (!first) {
        return std::nullopt;
    }
    // Without cA the first field is pathLenConstraint.
    return first->tag == booleanTag && first->content.size() == 1 && first->content[0] != 0;
}

// Whether any basicConstraints among the extensions says CA:TRUE; a
// certificate should have one at most, and a second must not hide the first.
std::optional<bool> extensionsSayAuthority(std::string_view explicitExtensions) {
    const auto list = take(explicitExtensions, sequenceTag);
    if (!list || !explicitExtensions.empty()) {
        return std::nullopt;
    }
    bool authority = false;
    std::string_view extensions = list->content;
    while (!extensions.empty()) {
        const auto extension = take(extensions, sequenceTag);
        if (!extension) {
            return std::nullopt;
        }
        std::string_view fields = extension->content;
        const auto identifier = take(fields, objectIdentifierTag);
        if (!identifier) {
            return std::nullopt;
        }
        if (identifier->content != basicConstraintsIdentifier) {
            continue;
        }
        auto value = take(fields);
        // The critical flag, when present, comes first.
        if (value && value->tag == booleanTag) {
            value = take(fields);
        }
        if (!value || value->tag != octetStringTag) {
            return std::nullopt;
        }
        const auto says = saysAuthority(value->content);
        if (!says) {
            return std::nullopt;
        }
        authority = authority || *says;
    }
    return authority;
}

}  // namespace

std::optional<CertificateFields> CertificateFields::read(std::string_view der) {
    const auto certificate = take(der, sequenceTag);
    if (!certificate || !der.empty()) {
        return std::nullopt;
    }
    std::string_view certificateFields = certificate->content;
    const auto toBeSigned = take(certificateFields, sequenceTag);
    if (!toBeSigned) {
        return std::nullopt;
    }
    std::string_view fields = toBeSigned->content;
    // Version 1 leaves the version out.
    if (!fields.empty() && static_cast<unsigned char>(fields[0]) == versionTag && !take(fields)) {
        return std::nullopt;
    }
    // serialNumber, then signature, issuer, validity and subject.
    if (!take(fields, integerTag)) {
        return std::nullopt;
    }
    for (int i = 0; i < 4; ++i) {
        if (!take(fields, sequenceTag)) {
            return std::nullopt;
        }
    }
    const auto publicKey = take(fields, sequenceTag);
    if (!publicKey) {
        return std::nullopt;
    }
    CertificateFields result{.subjectPublicKeyInfo = publicKey->encoding};
    // Then the unique identifiers, if any, and the extensions, if any.
    while (!fields.empty()) {
        const auto element = take(fields);
        if (!element) {
            return std::nullopt;
        }
        if (element->tag == extensionsTag) {
            const auto authority = extensionsSayAuthority(element->content);
            if (!authority) {
                return std::nullopt;
            }
            result.isAuthority = *authority;
        }
    }
    return result;
}

}  // namespace foundation
