#include "tests/kestrova/model/RecordCoding.hpp"

#include "kestrova/model/KestrovaBlockFile.hpp"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

namespace kestrova {
namespace {

using namespace fixtures;

constexpr std::string_view minimalJSON =
    R"({"id":5,"size":1024,"mimeType":"video\/mp4","url":"https:\/\/cdn.example\/5.mp4"})";

TEST(KestrovaBlockFileCoding, AMinimalObjectHasFourKeys) {
    const KestrovaBlockFile file = decoded<KestrovaBlockFile>(minimalJSON);
    EXPECT_EQ(file.id, 5);
    EXPECT_EQ(file.size, 1024);
    EXPECT_EQ(file.mimeType, "video/mp4");
    EXPECT_EQ(file.url, "https://cdn.example/5.mp4");
    EXPECT_FALSE(file.width || file.height || file.duration);
    EXPECT_EQ(encoded(file), minimalJSON);

    const KestrovaBlockFile full{5, 640, 480, 12.5f, 1024, "video/mp4", "https://cdn.example/5.mp4"};
    const std::string fullJSON = R"({"id":5,"width":640,"height":480,"duration":12.5,"size":1024,)"
                                 R"("mimeType":"video\/mp4","url":"https:\/\/cdn.example\/5.mp4"})";
    EXPECT_EQ(encoded(full), fullJSON);
    EXPECT_TRUE(decoded<KestrovaBlockFile>(fullJSON) == full);
}

TEST(KestrovaBlockFileCoding, EachOptionalKeyFillsItsOwnField) {
    expectFieldCases<KestrovaBlockFile>(minimalJSON, {
        {R"("width":640)", [](KestrovaBlockFile& f) { f.width = 640; }},
        {R"("height":480)", [](KestrovaBlockFile& f) { f.height = 480; }},
        {R"("duration":12)", [](KestrovaBlockFile& f) { f.duration = 12.0f; }},
        {R"("duration":0.1)", [](KestrovaBlockFile& f) { f.duration = 0.1f; }},
        // The float nearest to the text, not the float nearest to the double nearest to it.
        {R"("duration":1.00000005960464477539062501)", [](KestrovaBlockFile& f) { f.duration = 1.00000011920928955078125f; }},
        {R"("width":640.0,"height":4.8e2)", [](KestrovaBlockFile& f) { f.width = 640; f.height = 480; }},
        {R"("width":null,"height":null,"duration":null)", unchanged},
        {R"("mime_type":"x","URL":"y","length":3)", unchanged},
    });
}

TEST(KestrovaBlockFileCoding, RequiredKeysAndTypes) {
    expectEachFieldRequired<KestrovaBlockFile>(
        {{"id", "5"}, {"size", "0"}, {"mimeType", R"("image/png")"}, {"url", R"("u")"}});
    expectFailures<KestrovaBlockFile>(minimalJSON, {
        {R"("width":1.5)", Failure::dataCorrupted, "width"},
        {R"("height":"480")", Failure::typeMismatch, "height"},
        {R"("duration":"12")", Failure::typeMismatch, "duration"},
        {R"("duration":3.5e38)", Failure::dataCorrupted, "duration"},
        {R"("size":-1.25)", Failure::dataCorrupted, "size"},
        {R"("size":1024.0000000000000000001)", Failure::dataCorrupted, "size"},
        {R"("size":1e-400)", Failure::dataCorrupted, "size"},
        {R"("id":9223372036854775807.0,"size":18446744073709551616)", Failure::dataCorrupted, "size"},
        {R"("url":{"href":"u"})", Failure::typeMismatch, "url"},
    });
}

TEST(KestrovaBlockFileEquality, ZeroDurationOfEitherSignIsOneValue) {
    const KestrovaBlockFile base{5, 640, 480, 0.0f, 1024, "caf\u00e9", "u"};
    expectEachChangeEqual<KestrovaBlockFile>(base, {
        {"negative zero", [](KestrovaBlockFile& f) { f.duration = -0.0f; }},
        {"combining accent", [](KestrovaBlockFile& f) { f.mimeType = "cafe\u0301"; }},
    });
    expectEachChangeUnequal<KestrovaBlockFile>(base, {
        {"no duration", [](KestrovaBlockFile& f) { f.duration.reset(); }},
        {"duration", [](KestrovaBlockFile& f) { f.duration = 1e-45f; }},
        {"no width", [](KestrovaBlockFile& f) { f.width.reset(); }},
        {"height", [](KestrovaBlockFile& f) { f.height = 481; }},
        {"size", [](KestrovaBlockFile& f) { f.size = 1025; }},
        {"url", [](KestrovaBlockFile& f) { f.url = "U"; }},
    });
}

}  // namespace
}  // namespace kestrova
