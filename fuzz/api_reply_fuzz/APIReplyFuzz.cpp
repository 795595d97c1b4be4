// Reads arbitrary bytes as the API's reply records, as the client reads them:
// a refusal's body as KestrovaAPIResponse with the default decoder, and the
// metric value the server sends back as MetricData with the API's decoder.
// Besides never crashing: a record decodes or fails with a DecodingError;
// whatever decodes encodes, decodes again to an equal record, and encodes
// again to the same bytes.

#include "fuzz/support/FuzzFailure.hpp"
#include "platform/runtime/foundation/core/Data.hpp"
#include "platform/runtime/foundation/coding/DecodingError.hpp"
#include "platform/runtime/foundation/coding/JSONDecoder.hpp"
#include "platform/runtime/foundation/coding/JSONEncoder.hpp"
#include "kestrova/model/MetricData.hpp"
#include "kestrova/networking/KestrovaAPIResponse.hpp"
#include "kestrova/networking/Networking.hpp"

#include <cstdint>
#include <optional>
#include <string_view>

namespace {

std::string_view input;

void check(bool holds, std::string_view what) {
    if (!holds) {
        fuzzsupport::fail("api_reply_fuzz", what, input);
    }
}

template <typename Record>
std::optional<Record> decoded(const foundation::JSONDecoder& decoder, std::string_view json) {
    try {
        return decoder.decode<Record>(json);
    } catch (const foundation::DecodingError&) {
        return std::nullopt;
    }
}

// Records without an equality of their own compare by a projection.
template <typename Record, typename Same>
void roundTrip(const foundation::JSONDecoder& decoder, Same same) {
    const auto record = decoded<Record>(decoder, input);
    if (!record) {
        return;
    }
    const foundation::Data encoded = foundation::JSONEncoder().encode(*record);
    const auto again = decoded<Record>(decoder, encoded.view());
    check(again.has_value(), "an encoded record does not decode");
    check(same(*again, *record), "an encoded record decodes to another record");
    check(foundation::JSONEncoder().encode(*again) == encoded, "a record decoded again encodes to other bytes");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    input = std::string_view(reinterpret_cast<const char*>(bytes), size);
    roundTrip<kestrova::KestrovaAPIResponse>(
        foundation::JSONDecoder(),
        [](const kestrova::KestrovaAPIResponse& a, const kestrova::KestrovaAPIResponse& b) { return a.message == b.message; });
    roundTrip<kestrova::MetricData>(kestrova::Networking::decoder(),
                                    [](const kestrova::MetricData& a, const kestrova::MetricData& b) { return a == b; });
    return 0;
}
