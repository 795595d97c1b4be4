// Decodes arbitrary bytes as the service's user, once with the default
// decoder (the cached form, dates as numbers) and once with the API's decoder
// (dates as the server's text). Besides never crashing: whatever decodes must
// encode, the encoded form must decode again with the default decoder to an
// equal user, and encoding that user must give the same bytes.

#include "fuzz/support/FuzzFailure.hpp"
#include "platform/runtime/foundation/coding/DecodingError.hpp"
#include "platform/runtime/foundation/coding/JSONDecoder.hpp"
#include "platform/runtime/foundation/coding/JSONEncoder.hpp"
#include "kestrova/model/User.hpp"
#include "kestrova/networking/Networking.hpp"

#include <cstdint>
#include <optional>
#include <string_view>

namespace {

// An encoding error is a finding too: it escapes and the fuzzer reports it.
void roundTrip(const foundation::JSONDecoder& decoder, std::string_view json) {
    std::optional<kestrova::User> user;
    try {
        user.emplace(decoder.decode<kestrova::User>(json));
    } catch (const foundation::DecodingError&) {
        return;
    } catch (const foundation::JSONDecoder::DateError&) {
        return;
    }
    const foundation::Data encoded = foundation::JSONEncoder().encode(*user);
    const auto again = foundation::JSONDecoder().decode<kestrova::User>(encoded);
    if (!(again == *user)) {
        fuzzsupport::fail("json_fuzz", "the encoded user decodes to another user", json);
    }
    if (!(foundation::JSONEncoder().encode(again) == encoded)) {
        fuzzsupport::fail("json_fuzz", "the user decoded again encodes to other bytes", json);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::string_view json(reinterpret_cast<const char*>(bytes), size);
    roundTrip(foundation::JSONDecoder(), json);
    roundTrip(kestrova::Networking::decoder(), json);
    return 0;
}
