#include "kestrova/networking/Networking.hpp"

#include "platform/runtime/foundation/coding/DecodingError.hpp"
#include "platform/runtime/foundation/coding/JSONEncoder.hpp"
#include "platform/runtime/foundation/coding/KeyedDecodingContainer.hpp"
#include "kestrova/model/User.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace kestrova {
namespace {

struct Stamp {
    foundation::Date at;
    std::optional<foundation::Date> optional;

    static Stamp decode(foundation::Decoder& decoder) {
        const auto c = decoder.container();
        return Stamp{.at = c.decode<foundation::Date>("at"), .optional = c.decodeIfPresent<foundation::Date>("optional")};
    }
};

Stamp decodeStamp(const std::string& json) {
    return Networking::decoder().decode<Stamp>(json);
}

TEST(APIDates, ReadsBothServerForms) {
    struct Case {
        const char* text;
        double unixTime;
    };
    // 2023-04-05T06:07:08Z is 1680674828 seconds after 1970.
    const Case cases[] = {
        {"2023-04-05T06:07:08.123Z", 1680674828.123},
        {"2023-04-05T06:07:08.123+02:00", 1680674828.123 - 7200},
        {"2023-04-05T06:07:08Z", 1680674828.0},
        {"2023-04-05T06:07:08-05:30", 1680674828.0 + 19800},
    };
    for (const auto& c : cases) {
        const auto stamp = decodeStamp(std::string(R"({"at":")") + c.text + R"("})");
        EXPECT_NEAR(stamp.at.timeIntervalSince1970(), c.unixTime, 1e-6) << c.text;
    }
}

TEST(APIDates, OtherTextsAreInvalidDates) {
    for (const char* text : {"2023-04-05", "2023-04-05 06:07:08Z", "", "2023-04-05T06:07:08", "yesterday"}) {
        EXPECT_THROW(decodeStamp(std::string(R"({"at":")") + text + R"("})"), foundation::JSONDecoder::DateError)
            << text;
    }
}

TEST(APIDates, ValuesThatAreNoTextFailAsTheDecoderDoes) {
    for (const char* json : {R"({"at":60})", R"({"at":true})", R"({"at":null})", R"({})"}) {
        EXPECT_THROW(decodeStamp(json), foundation::DecodingError) << json;
    }
}

TEST(APIDates, AbsentOrNullOptionalDatesNeverReachTheRule) {
    EXPECT_FALSE(decodeStamp(R"({"at":"2023-04-05T06:07:08Z","optional":null})").optional.has_value());
    EXPECT_FALSE(decodeStamp(R"({"at":"2023-04-05T06:07:08Z"})").optional.has_value());
}

TEST(APIDates, TheCachedFormIsNotTheServerForm) {
    User user;
    user.id = 1;
    user.username = "ann";
    Journal journal;
    journal.lastEntryAt = foundation::Date::fromTimeIntervalSinceReferenceDate(60.0);
    user.journals = std::vector<Journal>{journal};
    const auto cached = foundation::JSONEncoder().encode(user);
    try {
        (void)Networking::decoder().decode<User>(cached);
        FAIL() << "the cached number form decoded as a server date";
    } catch (const foundation::DecodingError& error) {
        EXPECT_EQ(error.kind(), foundation::DecodingError::Kind::typeMismatch);
    }
}

TEST(APIDates, DateErrorIsBuiltOnlyFromItsRawValue) {
    EXPECT_TRUE(foundation::JSONDecoder::DateError::fromRawValue("invalidDate").has_value());
    EXPECT_FALSE(foundation::JSONDecoder::DateError::fromRawValue("InvalidDate").has_value());
    EXPECT_EQ(foundation::JSONDecoder::DateError().rawValue(), "invalidDate");
}

}  // namespace
}  // namespace kestrova
