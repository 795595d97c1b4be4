#include "tests/kestrova/model/RecordCoding.hpp"

#include "platform/runtime/foundation/coding/EncodingError.hpp"
#include "kestrova/model/MetricData.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <string_view>
#include <vector>

namespace kestrova {
namespace {

using namespace fixtures;

const foundation::UUID metricID = *foundation::UUID::fromString("1c2d3e4f-5061-4728-9a3b-bcdef0123456");

constexpr std::string_view dataJSON =
    R"({"id":"9A8B7C6D-5E4F-4321-8765-43210FEDCBA9","unit":"kg","value":72.5,)"
    R"("metric_id":"1C2D3E4F-5061-4728-9A3B-BCDEF0123456","entry_id":41})";

TEST(MetricDataCoding, SnakeCaseKeysCarryTheMetricAndTheEntry) {
    const MetricData data = decoded<MetricData>(dataJSON);
    EXPECT_EQ(data.id.uuidString(), "9A8B7C6D-5E4F-4321-8765-43210FEDCBA9");
    EXPECT_EQ(data.unit, "kg");
    EXPECT_EQ(data.value, 72.5);
    EXPECT_EQ(data.metricId, metricID);
    EXPECT_EQ(data.entryId, 41);
    EXPECT_EQ(encoded(data), dataJSON);

    const MetricData lowerCase = decoded<MetricData>(
        withFields(dataJSON, R"("id":"9a8b7c6d-5e4f-4321-8765-43210fedcba9",)"
                             R"("metric_id":"1c2d3e4f-5061-4728-9a3b-bcdef0123456")"));
    EXPECT_TRUE(lowerCase == data);
    EXPECT_EQ(encoded(lowerCase), dataJSON);
}

TEST(MetricDataCoding, EveryKeyIsRequired) {
    expectEachFieldRequired<MetricData>({{"id", R"("9A8B7C6D-5E4F-4321-8765-43210FEDCBA9")"},
                                         {"unit", R"("kg")"},
                                         {"value", "-1"},
                                         {"metric_id", R"("1C2D3E4F-5061-4728-9A3B-BCDEF0123456")"},
                                         {"entry_id", "41"}});
    // The field names are not the keys.
    expectDecodingFailure<MetricData>(
        R"({"id":"9A8B7C6D-5E4F-4321-8765-43210FEDCBA9","unit":"kg","value":1,)"
        R"("metricId":"1C2D3E4F-5061-4728-9A3B-BCDEF0123456","entryId":41})",
        Failure::keyNotFound, "metric_id");
    expectDecodingFailure<MetricData>(
        R"({"id":"9A8B7C6D-5E4F-4321-8765-43210FEDCBA9","unit":"kg","value":1,)"
        R"("metric_id":"1C2D3E4F-5061-4728-9A3B-BCDEF0123456","entryId":41})",
        Failure::keyNotFound, "entry_id");
    expectFailures<MetricData>(dataJSON, {
        {R"("value":"72.5")", Failure::typeMismatch, "value"},
        {R"("entry_id":41.5)", Failure::dataCorrupted, "entry_id"},
        {R"("metric_id":"Weight")", Failure::dataCorrupted, "metric_id"},
        {R"("unit":null)", Failure::valueNotFound, "unit"},
    });
    expectFieldCases<MetricData>(dataJSON, {
        {R"("entry_id":41.0,"metric":{"name":"Weight"},"date":"today")", unchanged},
    });
}

TEST(MetricDataValues, MadeWithoutAnIdEachGetsAFreshOne) {
    const auto made = [] {
        MetricData data;
        data.unit = "kg";
        data.value = 72.5;
        data.metricId = metricID;
        data.entryId = 41;
        return data;
    };
    const MetricData a = made();
    const MetricData b = made();
    EXPECT_NE(a.id, b.id);
    EXPECT_FALSE(a == b);
    EXPECT_NE(hashOf(a), hashOf(b));
    const MetricData sameId{.id = a.id, .unit = "kg", .value = 72.5, .metricId = metricID, .entryId = 41};
    EXPECT_TRUE(sameId == a);
    EXPECT_EQ(hashOf(sameId), hashOf(a));
    // Decoding replaces the generated id with the one sent.
    EXPECT_TRUE(roundTripped(a) == a);
}

TEST(MetricDataEquality, ZeroOfEitherSignIsOneValue) {
    MetricData base = decoded<MetricData>(dataJSON);
    base.value = 0.0;
    expectEachChangeEqual<MetricData>(base, {
        {"negative zero", [](MetricData& d) { d.value = -0.0; }},
    });
    expectEachChangeUnequal<MetricData>(base, {
        {"value", [](MetricData& d) { d.value = 1.0; }},
        {"unit", [](MetricData& d) { d.unit = "lb"; }},
        {"metric", [](MetricData& d) { d.metricId = foundation::UUID(); }},
        {"entry", [](MetricData& d) { d.entryId = 42; }},
    });
}

TEST(MetricDataCoding, ANonFiniteValueIsRefused) {
    MetricData data = decoded<MetricData>(dataJSON);
    data.value = std::numeric_limits<double>::infinity();
    try {
        (void)encoded(data);
        ADD_FAILURE() << "encoded an infinite value";
    } catch (const foundation::EncodingError& error) {
        EXPECT_EQ(error.codingPath().description(), "value");
    }
}

}  // namespace
}  // namespace kestrova
