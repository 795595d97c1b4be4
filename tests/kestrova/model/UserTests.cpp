#include "tests/kestrova/model/RecordCoding.hpp"

#include "platform/runtime/foundation/core/UUID.hpp"
#include "kestrova/model/User.hpp"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

namespace kestrova {
namespace {

using namespace fixtures;

constexpr std::string_view minimalJSON = R"({"id":1,"username":"u1"})";

constexpr std::string_view journalJSON =
    R"({"id":7,"title":"Morning pages","description":"","slug":"morning-pages","private":false})";

constexpr std::string_view fullJSON =
    R"({"id":1,"username":"u1","email":"u1@example.org","twitterUsername":"u_one",)"
    R"("journals":[{"id":7,"title":"Morning pages","description":"","slug":"morning-pages",)"
    R"("private":false}],)"
    R"("numberOfEntries":120,"numberOfMarathons":2,"avatarLink":"https:\/\/cdn.example\/a.png",)"
    R"("website":"example.org","timezone":"Europe\/Berlin","weeklySummary":true,"emailNotifications":false,)"
    R"("reminderNotifications":true,"numberOfEntriesToday":1,)"
    R"("journalGroups":[{"id":"0B2C3D4E-5F60-4718-893A-ABCDEF012345","index":0,"name":"Daily",)"
    R"("daily":true,"isCollapsed":false}],)"
    R"("metrics":[{"id":"1C2D3E4F-5061-4728-9A3B-BCDEF0123456","name":"Weight","unit":"kg"}],)"
    R"("quietMode":false,"boost":true,"plus":false})";

User minimalUser() {
    User u;
    u.id = 1;
    u.username = "u1";
    return u;
}

User fullUser() {
    User u = minimalUser();
    u.email = "u1@example.org";
    u.twitterUsername = "u_one";
    u.journals = std::vector<Journal>{decoded<Journal>(journalJSON)};
    u.numberOfEntries = 120;
    u.numberOfMarathons = 2;
    u.avatarLink = "https://cdn.example/a.png";
    u.website = "example.org";
    u.timezone = "Europe/Berlin";
    u.weeklySummary = true;
    u.emailNotifications = false;
    u.reminderNotifications = true;
    u.numberOfEntriesToday = 1;
    u.journalGroups = std::vector<JournalGroup>{
        {*foundation::UUID::fromString("0b2c3d4e-5f60-4718-893a-abcdef012345"), 0, "Daily", true, false}};
    u.metrics = std::vector<Metric>{
        {*foundation::UUID::fromString("1C2D3E4F-5061-4728-9A3B-BCDEF0123456"), "Weight", "kg", {}}};
    u.quietMode = false;
    u.boost = true;
    u.plus = false;
    return u;
}

TEST(UserCoding, AMinimalObjectHasOnlyIdAndUsername) {
    const User user = decoded<User>(minimalJSON);
    EXPECT_TRUE(user == minimalUser());
    EXPECT_EQ(encoded(user), minimalJSON);
    // Nulls decode as absent and are never written back.
    const std::string allNull = withFields(minimalJSON,
        R"("email":null,"twitterUsername":null,"journals":null,"numberOfEntries":null,)"
        R"("numberOfMarathons":null,"avatarLink":null,"website":null,"timezone":null,"weeklySummary":null,)"
        R"("emailNotifications":null,"reminderNotifications":null,"numberOfEntriesToday":null,)"
        R"("journalGroups":null,"metrics":null,"quietMode":null,"boost":null,"plus":null)");
    EXPECT_EQ(encoded(decoded<User>(allNull)), minimalJSON);
}

TEST(UserCoding, EveryKeyIsWrittenInFieldOrder) {
    EXPECT_EQ(encoded(fullUser()), fullJSON);
    EXPECT_TRUE(decoded<User>(fullJSON) == fullUser());
    EXPECT_TRUE(roundTripped(fullUser()) == fullUser());
}

TEST(UserCoding, EachKeyFillsItsOwnField) {
    expectFieldCases<User>(minimalJSON, {
        {R"("email":"e")", [](User& u) { u.email = "e"; }},
        {R"("twitterUsername":"t")", [](User& u) { u.twitterUsername = "t"; }},
        {R"("journals":[])", [](User& u) { u.journals = std::vector<Journal>{}; }},
        {R"("numberOfEntries":0)", [](User& u) { u.numberOfEntries = 0; }},
        {R"("numberOfMarathons":-1)", [](User& u) { u.numberOfMarathons = -1; }},
        {R"("avatarLink":"a")", [](User& u) { u.avatarLink = "a"; }},
        {R"("website":"w")", [](User& u) { u.website = "w"; }},
        {R"("timezone":"UTC")", [](User& u) { u.timezone = "UTC"; }},
        {R"("weeklySummary":false)", [](User& u) { u.weeklySummary = false; }},
        {R"("emailNotifications":true)", [](User& u) { u.emailNotifications = true; }},
        {R"("reminderNotifications":false)", [](User& u) { u.reminderNotifications = false; }},
        {R"("numberOfEntriesToday":3)", [](User& u) { u.numberOfEntriesToday = 3; }},
        {R"("journalGroups":[])", [](User& u) { u.journalGroups = std::vector<JournalGroup>{}; }},
        {R"("metrics":[])", [](User& u) { u.metrics = std::vector<Metric>{}; }},
        {R"("quietMode":true)", [](User& u) { u.quietMode = true; }},
        {R"("quietMode":null)", unchanged},
        {R"("boost":false)", [](User& u) { u.boost = false; }},
        {R"("plus":true)", [](User& u) { u.plus = true; }},
        {R"("Username":"other","userName":"other","colour":"red")", unchanged},
        // What the server adds and no field reads never fails the user, whatever number it holds.
        {R"("storageBytes":18446744073709551616,"limits":[1e400,-9223372036854775809])", unchanged},
    });
}

TEST(UserCoding, RequiredKeysMustBePresentAndNotNull) {
    expectEachFieldRequired<User>({{"id", "1"}, {"username", R"("u1")"}});
    // A key that differs only in letter case is some other key.
    expectDecodingFailure<User>(R"({"id":1,"Username":"u1"})", Failure::keyNotFound, "username");
    // As a journal's owner and as a collaborator.
    const std::vector<RequiredField> fields{{"id", "2"}, {"username", R"("u2")"}};
    expectEachFieldRequired<Journal>(
        fields, {R"({"id":7,"title":"t","description":"","slug":"s","private":false,"user":)", "}", "user."});
    expectEachFieldRequired<Journal>(
        fields, {R"({"id":7,"title":"t","description":"","slug":"s","private":false,"collaborators":[)", "]}",
                 "collaborators[0]."});
}

TEST(UserCoding, AValueOfTheWrongTypeFailsTheUser) {
    expectFailures<User>(minimalJSON, {
        {R"("id":"1")", Failure::typeMismatch, "id"},
        {R"("username":1)", Failure::typeMismatch, "username"},
        {R"("quietMode":"true")", Failure::typeMismatch, "quietMode"},
        {R"("numberOfEntries":3.5)", Failure::dataCorrupted, "numberOfEntries"},
        {R"("numberOfEntries":1e400)", Failure::dataCorrupted, "numberOfEntries"},
        {R"("numberOfEntries":120.0000000000000000001)", Failure::dataCorrupted, "numberOfEntries"},
        {R"("email":false)", Failure::typeMismatch, "email"},
        {R"("journals":{})", Failure::typeMismatch, "journals"},
        {R"("journals":[null])", Failure::valueNotFound, "journals[0]"},
        {R"("journals":[{"id":7,"title":"t","description":"","slug":"s"}])", Failure::keyNotFound,
         "journals[0].private"},
        {R"("journals":[{"id":7,"title":"t","description":"","slug":"s","private":false,"isDaily":"no"}])",
         Failure::typeMismatch, "journals[0].isDaily"},
        {R"("metrics":[{"id":"1C2D3E4F-5061-4728-9A3B-BCDEF0123456","name":"Weight"}])", Failure::keyNotFound,
         "metrics[0].unit"},
        {R"("journalGroups":[{"id":"0B2C3D4E-5F60-4718-893A-ABCDEF012345","index":0,"name":"n",)"
         R"("daily":true}])",
         Failure::keyNotFound, "journalGroups[0].isCollapsed"},
    });
    expectDecodingFailure<User>("null", Failure::valueNotFound, "the top level");
}

TEST(UserEquality, AnEmptyListIsNotAnAbsentList) {
    const User withEmpty = decoded<User>(withFields(minimalJSON, R"("journals":[])"));
    const User without = decoded<User>(minimalJSON);
    ASSERT_TRUE(withEmpty.journals.has_value());
    EXPECT_TRUE(withEmpty.journals->empty());
    EXPECT_FALSE(withEmpty == without);
    EXPECT_NE(hashOf(withEmpty), hashOf(without));
    EXPECT_EQ(encoded(withEmpty), R"({"id":1,"username":"u1","journals":[]})");
    EXPECT_EQ(encoded(without), minimalJSON);
}

TEST(UserEquality, DecodedTwiceIsEqualAndEveryFieldTakesPart) {
    const User a = decoded<User>(fullJSON);
    EXPECT_TRUE(a == decoded<User>(fullJSON));
    EXPECT_EQ(hashOf(a), hashOf(decoded<User>(fullJSON)));
    expectEachChangeUnequal<User>(a, {
        {"a journal's streak", [](User& u) { u.journals.mutate()[0].streak = 5; }},
        {"no journals", [](User& u) { u.journals.reset(); }},
        {"an empty journal list", [](User& u) { u.journals = std::vector<Journal>{}; }},
        {"another journal", [](User& u) { u.journals.mutate().push_back(u.journals->front()); }},
        {"username", [](User& u) { u.username = "U1"; }},
        {"email absent", [](User& u) { u.email.reset(); }},
        {"a group collapsed", [](User& u) { u.journalGroups.mutate()[0].isCollapsed = true; }},
        {"a metric's default", [](User& u) { u.metrics.mutate()[0].defaultValue = 0.0; }},
        {"no metrics", [](User& u) { u.metrics = std::vector<Metric>{}; }},
        {"plus", [](User& u) { u.plus = true; }},
    });
    User accented = minimalUser();
    accented.username = "Jos\u00e9";
    expectEachChangeEqual<User>(accented, {
        {"combining accent", [](User& u) { u.username = "Jose\u0301"; }},
    });
}

}  // namespace
}  // namespace kestrova
