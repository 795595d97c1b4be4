#include "tests/kestrova/model/RecordCoding.hpp"

#include "platform/runtime/foundation/coding/EncodingError.hpp"
#include "kestrova/model/Metric.hpp"
#include "kestrova/model/User.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string_view>
#include <vector>

namespace kestrova {
namespace {

using namespace fixtures;

constexpr std::string_view metricJSON =
    R"({"id":"1C2D3E4F-5061-4728-9A3B-BCDEF0123456","name":"Weight","unit":"kg"})";

TEST(MetricCoding, TheDefaultValueIsOptional) {
    const Metric metric = decoded<Metric>(metricJSON);
    EXPECT_EQ(metric.name, "Weight");
    EXPECT_EQ(metric.unit, "kg");
    EXPECT_FALSE(metric.defaultValue.has_value());
    EXPECT_EQ(encoded(metric), metricJSON);

    expectFieldCases<Metric>(metricJSON, {
        {R"("defaultValue":null)", unchanged},
        {R"("defaultValue":72.5)", [](Metric& m) { m.defaultValue = 72.5; }},
        {R"("defaultValue":3)", [](Metric& m) { m.defaultValue = 3.0; }},
        {R"("default":1,"metricId":"x","value":2)", unchanged},
    });
    EXPECT_EQ(encoded(decoded<Metric>(withFields(metricJSON, R"("defaultValue":null)"))), metricJSON);

    Metric withDefault = metric;
    withDefault.defaultValue = -0.0;
    EXPECT_EQ(encoded(withDefault), withFields(metricJSON, R"("defaultValue":-0.0)"));
    EXPECT_TRUE(std::signbit(*roundTripped(withDefault).defaultValue));
}

TEST(MetricCoding, RequiredKeysAndTypes) {
    const std::vector<RequiredField> fields{
        {"id", R"("1c2d3e4f-5061-4728-9a3b-bcdef0123456")"}, {"name", R"("n")"}, {"unit", R"("")"}};
    expectEachFieldRequired<Metric>(fields);
    expectEachFieldRequired<User>(fields, {R"({"id":1,"username":"u","metrics":[)", "]}", "metrics[0]."});
    expectFailures<Metric>(metricJSON, {
        {R"("id":"1C2D3E4F-5061-4728-9A3B")", Failure::dataCorrupted, "id"},
        {R"("unit":1)", Failure::typeMismatch, "unit"},
        {R"("defaultValue":"72.5")", Failure::typeMismatch, "defaultValue"},
        {R"("defaultValue":true)", Failure::typeMismatch, "defaultValue"},
    });
}

TEST(MetricEquality, ZeroOfEitherSignIsOneValueButAbsentIsNone) {
    Metric base = decoded<Metric>(metricJSON);
    base.defaultValue = 0.0;
    expectEachChangeEqual<Metric>(base, {
        {"negative zero", [](Metric& m) { m.defaultValue = -0.0; }},
    });
    expectEachChangeUnequal<Metric>(base, {
        {"absent", [](Metric& m) { m.defaultValue.reset(); }},
        {"smallest positive", [](Metric& m) { m.defaultValue = 5e-324; }},
        {"name", [](Metric& m) { m.name = "weight"; }},
        {"unit", [](Metric& m) { m.unit = "lb"; }},
        {"id", [](Metric& m) { m.id = foundation::UUID(); }},
    });
}

TEST(MetricCoding, ANonFiniteDefaultIsRefusedWhereverItSits) {
    Metric metric = decoded<Metric>(metricJSON);
    metric.defaultValue = std::nan("");
    User user = decoded<User>(R"({"id":1,"username":"u1"})");
    user.metrics = std::vector<Metric>{decoded<Metric>(metricJSON), metric};
    try {
        (void)encoded(user);
        ADD_FAILURE() << "encoded a NaN";
    } catch (const foundation::EncodingError& error) {
        EXPECT_EQ(error.codingPath().description(), "metrics[1].defaultValue");
    }
}

}  // namespace
}  // namespace kestrova
