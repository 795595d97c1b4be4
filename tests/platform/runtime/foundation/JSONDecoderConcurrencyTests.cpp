#include "tests/platform/runtime/foundation/CodingFixtures.hpp"

#include "platform/runtime/foundation/coding/DecodingError.hpp"
#include "platform/runtime/foundation/coding/JSONDecoder.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace foundation {
namespace {

using fixtures::Note;
using fixtures::Person;

// One decoder, configured once, shared by threads that decode at the same time;
// its date rule decodes JSON itself, so each thread also nests a decode.
TEST(JSONDecoderConcurrency, OneDecoderServesManyThreads) {
    JSONDecoder decoder;
    decoder.dateDecodingStrategy = JSONDecoder::DateDecodingStrategy::custom([](Decoder& d) {
        return JSONDecoder().decode<Date>(d.singleValueContainer().decode<std::string>());
    });
    std::string json = R"({"id":1,"name":"root","notes":[)";
    for (int i = 0; i < 50; ++i) {
        json.append(i ? "," : "")
            .append(R"({"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","title":"t","kind":"text","date":")")
            .append(std::to_string(i))
            .append(R"("})");
    }
    json += "]}";
    const Person expected = decoder.decode<Person>(json);
    ASSERT_EQ(expected.notes->back().date, Date::fromTimeIntervalSinceReferenceDate(49));

    std::atomic<int> mismatches{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&] {
            for (int round = 0; round < 50; ++round) {
                if (!(decoder.decode<Person>(json) == expected)) {
                    ++mismatches;
                }
                try {
                    (void)decoder.decode<Person>(std::string_view(R"({"id":"x"})"));
                    ++mismatches;
                } catch (const DecodingError&) {
                }
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(mismatches.load(), 0);
}

}  // namespace
}  // namespace foundation
