#include "tests/kestrova/model/RecordCoding.hpp"

#include "kestrova/model/JournalGroup.hpp"
#include "kestrova/model/User.hpp"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

namespace kestrova {
namespace {

using namespace fixtures;

constexpr std::string_view groupJSON =
    R"({"id":"0B2C3D4E-5F60-4718-893A-ABCDEF012345","index":2,"name":"Daily","daily":true,)"
    R"("isCollapsed":false})";

TEST(JournalGroupCoding, AllFiveKeysAreRequiredAndWrittenInOrder) {
    const JournalGroup group = decoded<JournalGroup>(groupJSON);
    EXPECT_EQ(group.id.uuidString(), "0B2C3D4E-5F60-4718-893A-ABCDEF012345");
    EXPECT_EQ(group.index, 2);
    EXPECT_EQ(group.name, "Daily");
    EXPECT_TRUE(group.daily);
    EXPECT_FALSE(group.isCollapsed);
    EXPECT_EQ(encoded(group), groupJSON);

    const std::vector<RequiredField> fields{{"id", R"("0b2c3d4e-5f60-4718-893a-abcdef012345")"},
                                            {"index", "0"},
                                            {"name", R"("n")"},
                                            {"daily", "false"},
                                            {"isCollapsed", "true"}};
    expectEachFieldRequired<JournalGroup>(fields);
    expectEachFieldRequired<User>(fields,
                                  {R"({"id":1,"username":"u","journalGroups":[)", "]}", "journalGroups[0]."});
}

TEST(JournalGroupCoding, UUIDsReadInEitherCaseAndWriteInUpperCase) {
    const JournalGroup group = decoded<JournalGroup>(
        withFields(groupJSON, R"("id":"0b2c3d4e-5f60-4718-893a-abcdef012345")"));
    EXPECT_TRUE(group == decoded<JournalGroup>(groupJSON));
    EXPECT_EQ(encoded(group), groupJSON);
}

TEST(JournalGroupCoding, WrongTypesAndBadUUIDsFail) {
    expectFailures<JournalGroup>(groupJSON, {
        {R"("id":"not-a-uuid")", Failure::dataCorrupted, "id"},
        {R"("id":"0B2C3D4E5F604718893AABCDEF012345")", Failure::dataCorrupted, "id"},
        {R"("id":42)", Failure::typeMismatch, "id"},
        {R"("index":1.5)", Failure::dataCorrupted, "index"},
        {R"("index":"1")", Failure::typeMismatch, "index"},
        {R"("daily":"yes")", Failure::typeMismatch, "daily"},
        {R"("isCollapsed":1)", Failure::typeMismatch, "isCollapsed"},
        {R"("name":["Daily"])", Failure::typeMismatch, "name"},
    });
    expectFieldCases<JournalGroup>(groupJSON, {
        {R"("index":3.0,"collapsed":true,"journals":[1,2])", [](JournalGroup& g) { g.index = 3; }},
    });
}

TEST(JournalGroupEquality, EveryFieldTakesPart) {
    JournalGroup base = decoded<JournalGroup>(groupJSON);
    base.name = "Caf\u00e9";
    expectEachChangeEqual<JournalGroup>(base, {
        {"combining accent", [](JournalGroup& g) { g.name = "Cafe\u0301"; }},
    });
    expectEachChangeUnequal<JournalGroup>(base, {
        {"id", [](JournalGroup& g) { g.id = foundation::UUID(); }},
        {"index", [](JournalGroup& g) { g.index = 3; }},
        {"name", [](JournalGroup& g) { g.name = "caf\u00e9"; }},
        {"daily", [](JournalGroup& g) { g.daily = false; }},
        {"collapsed", [](JournalGroup& g) { g.isCollapsed = true; }},
    });
}

}  // namespace
}  // namespace kestrova
