#pragma once

#include "foundation/Date.hpp"
#include "foundation/JSONDecoder.hpp"

namespace foundation {
class Decoder;
}

namespace kestrova {

// The application's client of the service's API.
struct Networking {
    // The one decoder of API replies, made once and shared by every call on
    // any thread; its only rule of its own reads the server's date text.
    static const foundation::JSONDecoder& decoder();
};

// The server's points in time: "2023-04-05T06:07:08.123+02:00", or the same
// without milliseconds. Any other text throws JSONDecoder::DateError; a value
// that is no text throws the decoder's own type mismatch.
foundation::Date decodeAPIDate(foundation::Decoder& decoder);

}  // namespace kestrova
