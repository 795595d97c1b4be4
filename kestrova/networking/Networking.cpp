#include "kestrova/networking/Networking.hpp"

#include "foundation/DateFormatter.hpp"
#include "foundation/Decoder.hpp"
#include "foundation/SingleValueDecodingContainer.hpp"

#include <string>

namespace kestrova {

const foundation::JSONDecoder& Networking::decoder() {
    static const foundation::JSONDecoder shared = [] {
        foundation::JSONDecoder decoder;
        decoder.dateDecodingStrategy = foundation::JSONDecoder::DateDecodingStrategy::custom(decodeAPIDate);
        return decoder;
    }();
    return shared;
}

foundation::Date decodeAPIDate(foundation::Decoder& decoder) {
    // A formatter per value keeps calls free of shared state; making one
    // allocates nothing.
    foundation::DateFormatter formatter;
    formatter.setCalendar(foundation::Calendar(foundation::Calendar::Identifier::iso8601));
    formatter.setLocale(foundation::Locale("en_US_POSIX"));
    formatter.setTimeZone(*foundation::TimeZone::fromSecondsFromGMT(0));

    const auto text = decoder.singleValueContainer().decode<std::string>();
    formatter.setDateFormat("yyyy-MM-dd'T'HH:mm:ss.SSSXXXXX");
    if (const auto date = formatter.date(text)) {
        return *date;
    }
    formatter.setDateFormat("yyyy-MM-dd'T'HH:mm:ssXXXXX");
    if (const auto date = formatter.date(text)) {
        return *date;
    }
    throw foundation::JSONDecoder::DateError();
}

}  // namespace kestrova
