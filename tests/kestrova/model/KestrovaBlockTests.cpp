#include "tests/kestrova/model/RecordCoding.hpp"

#include "kestrova/model/BlockType.hpp"
#include "kestrova/model/KestrovaBlock.hpp"
#include "kestrova/model/KestrovaEntry.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kestrova {
namespace {

using namespace fixtures;

constexpr std::string_view minimalJSON = R"({"id":3,"index":0,"type":"text"})";

KestrovaBlockFile file(std::int64_t id) {
    return {id, {}, {}, {}, 10, "image/png", "u"};
}

TEST(BlockType, RawTextsMatchExactly) {
    struct Case {
        std::string_view text;
        std::optional<BlockType> type;
    };
    const Case cases[] = {
        {"audio", BlockType::audio}, {"image", BlockType::image}, {"text", BlockType::text},
        {"video", BlockType::video}, {"file", BlockType::file},   {"unknown", BlockType::unknown},
        {"Image", {}},               {"IMAGE", {}},               {"gif", {}},
        {"", {}},                    {"text ", {}},               {"aud", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(blockTypeFromRawValue(c.text), c.type) << c.text;
        if (c.type) {
            EXPECT_EQ(rawValue(*c.type), c.text);
        }
    }
}

TEST(BlockType, DecodingTakesAnUnknownKindAsUnknown) {
    struct Case {
        std::string_view json;  // the value under "type"
        BlockType type;
        std::string_view written;
    };
    const Case cases[] = {
        {R"("audio")", BlockType::audio, "audio"}, {R"("image")", BlockType::image, "image"},
        {R"("text")", BlockType::text, "text"},    {R"("video")", BlockType::video, "video"},
        {R"("file")", BlockType::file, "file"},    {R"("unknown")", BlockType::unknown, "unknown"},
        {R"("gif")", BlockType::unknown, "unknown"}, {R"("Image")", BlockType::unknown, "unknown"},
        {R"("")", BlockType::unknown, "unknown"},
    };
    for (const auto& c : cases) {
        const std::string typeField = std::string(R"("type":)").append(c.json);
        const KestrovaBlock block = decoded<KestrovaBlock>(withFields(minimalJSON, typeField));
        EXPECT_EQ(block.type, c.type) << c.json;
        EXPECT_EQ(encoded(block), std::string(R"({"id":3,"index":0,"type":")").append(c.written) + "\"}");
    }
    // Lenient for texts only: the decode refuses what is no text at all.
    expectFailures<KestrovaBlock>(minimalJSON, {
        {R"("type":3)", Failure::typeMismatch, "type"},
        {R"("type":null)", Failure::valueNotFound, "type"},
        {R"("type":["text"])", Failure::typeMismatch, "type"},
    });
    expectDecodingFailure<KestrovaBlock>(R"({"id":3,"index":0})", Failure::keyNotFound, "type");
}

TEST(KestrovaBlockCoding, AMinimalObjectHasThreeKeys) {
    const KestrovaBlock block = decoded<KestrovaBlock>(minimalJSON);
    EXPECT_EQ(block.id, 3);
    EXPECT_EQ(block.index, 0);
    EXPECT_EQ(block.type, BlockType::text);
    EXPECT_FALSE(block.text || block.originalFile || block.defaultFile || block.previewFile || block.coverFile);
    EXPECT_EQ(encoded(block), minimalJSON);
    const std::string allNull = withFields(
        minimalJSON, R"("text":null,"originalFile":null,"defaultFile":null,"previewFile":null,)"
                     R"("coverFile":null)");
    EXPECT_EQ(encoded(decoded<KestrovaBlock>(allNull)), minimalJSON);
}

TEST(KestrovaBlockCoding, EveryKeyIsWrittenInFieldOrder) {
    const KestrovaBlock full{3, 1, BlockType::video, "caption", file(1), file(2), file(3), file(4)};
    const std::string json = R"({"id":3,"index":1,"type":"video","text":"caption",)"
                             R"("originalFile":{"id":1,"size":10,"mimeType":"image\/png","url":"u"},)"
                             R"("defaultFile":{"id":2,"size":10,"mimeType":"image\/png","url":"u"},)"
                             R"("previewFile":{"id":3,"size":10,"mimeType":"image\/png","url":"u"},)"
                             R"("coverFile":{"id":4,"size":10,"mimeType":"image\/png","url":"u"}})";
    EXPECT_EQ(encoded(full), json);
    EXPECT_TRUE(decoded<KestrovaBlock>(json) == full);
}

TEST(KestrovaBlockCoding, EachKeyFillsItsOwnField) {
    expectFieldCases<KestrovaBlock>(minimalJSON, {
        {R"("text":"hello")", [](KestrovaBlock& b) { b.text = "hello"; }},
        {R"("originalFile":{"id":1,"size":10,"mimeType":"image\/png","url":"u"})",
         [](KestrovaBlock& b) { b.originalFile = file(1); }},
        {R"("defaultFile":{"id":2,"size":10,"mimeType":"image\/png","url":"u"})",
         [](KestrovaBlock& b) { b.defaultFile = file(2); }},
        {R"("previewFile":{"id":3,"size":10,"mimeType":"image\/png","url":"u"})",
         [](KestrovaBlock& b) { b.previewFile = file(3); }},
        {R"("coverFile":{"id":4,"size":10,"mimeType":"image\/png","url":"u"})",
         [](KestrovaBlock& b) { b.coverFile = file(4); }},
        {R"("kind":"image","file":{"id":9},"original_file":null)", unchanged},
    });
}

TEST(KestrovaBlockCoding, ABadBlockFailsItsEntry) {
    expectEachFieldRequired<KestrovaBlock>({{"id", "3"}, {"index", "0"}, {"type", R"("image")"}});
    expectEachFieldRequired<KestrovaEntry>({{"id", "3"}, {"index", "0"}, {"type", R"("image")"}},
                                           {R"({"id":41,"blocks":[{"id":1,"index":0,"type":"text"},)", "]}",
                                            "blocks[1]."});
    expectFailures<KestrovaBlock>(minimalJSON, {
        {R"("index":0.5)", Failure::dataCorrupted, "index"},
        {R"("text":7)", Failure::typeMismatch, "text"},
        {R"("coverFile":"u")", Failure::typeMismatch, "coverFile"},
        {R"("previewFile":{"id":3,"size":10,"mimeType":"image\/png"})", Failure::keyNotFound,
         "previewFile.url"},
    });
    expectFailures<KestrovaEntry>(R"({"id":41})", {
        {R"("blocks":[{"id":1,"index":0,"type":4}])", Failure::typeMismatch, "blocks[0].type"},
        {R"("blocks":[{"id":1,"index":0,"type":"audio","originalFile":{"id":1,"size":1,"mimeType":"a",)"
         R"("url":"u","duration":1e39}}])",
         Failure::dataCorrupted, "blocks[0].originalFile.duration"},
    });
}

TEST(KestrovaBlockCoding, AListKeepsTheOrderItWasSentIn) {
    const auto entry = decoded<KestrovaEntry>(
        R"({"id":41,"blocks":[{"id":1,"index":2,"type":"text"},{"id":2,"index":0,"type":"image"},)"
        R"({"id":3,"index":1,"type":"gif"}]})");
    ASSERT_TRUE(entry.blocks.has_value());
    ASSERT_EQ(entry.blocks->size(), 3u);
    EXPECT_EQ((*entry.blocks)[0].index, 2);
    EXPECT_EQ((*entry.blocks)[1].index, 0);
    EXPECT_EQ((*entry.blocks)[2].type, BlockType::unknown);
}

TEST(KestrovaBlockEquality, EveryFieldTakesPart) {
    KestrovaBlock base = decoded<KestrovaBlock>(minimalJSON);
    base.text = "Caf\u00e9";
    base.defaultFile = file(2);
    base.defaultFile->duration = 0.0f;
    expectEachChangeEqual<KestrovaBlock>(base, {
        {"combining accent", [](KestrovaBlock& b) { b.text = "Cafe\u0301"; }},
        {"negative zero duration", [](KestrovaBlock& b) { b.defaultFile->duration = -0.0f; }},
    });
    expectEachChangeUnequal<KestrovaBlock>(base, {
        {"a cover file", [](KestrovaBlock& b) { b.coverFile = file(2); }},
        {"the default file as the original",
         [](KestrovaBlock& b) { std::swap(b.originalFile, b.defaultFile); }},
        {"the default file's id", [](KestrovaBlock& b) { b.defaultFile->id = 3; }},
        {"type", [](KestrovaBlock& b) { b.type = BlockType::unknown; }},
        {"no text", [](KestrovaBlock& b) { b.text.reset(); }},
        {"empty text", [](KestrovaBlock& b) { b.text = ""; }},
        {"index", [](KestrovaBlock& b) { b.index = 1; }},
    });
}

}  // namespace
}  // namespace kestrova
