#include "platform/kits/ui/TextView.hpp"

#include <gtest/gtest.h>

#include <limits>

namespace ui {
namespace {

TEST(LocalizedStringKey, FillsInItsPlaceholders) {
    using Arguments = std::vector<LocalizedStringKey::Argument>;
    struct Case {
        const char* key;
        Arguments arguments;
        const char* shown;
    };
    const Case cases[] = {
        {"%lld", {std::int64_t{-3}}, "-3"},
        {"%lld", {std::int64_t{3}}, "3"},
        {"%lld", {std::int64_t{12345}}, "12345"},
        {"%lld", {std::numeric_limits<std::int64_t>::min()}, "-9223372036854775808"},
        {"%lld entries today", {std::int64_t{1}}, "1 entries today"},
        {"Signed in as %@", {std::string("ann")}, "Signed in as ann"},
        {"100%% done", {}, "100% done"},
        {"%lld", {}, "%lld"},  // a placeholder without a value stays as written
        {"All Done", {}, "All Done"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LocalizedStringKey(c.key, c.arguments).resolved(), c.shown) << c.key;
    }
}

TEST(Text, VerbatimTextIsNeverLookedUp) {
    EXPECT_EQ(Text::verbatim("%lld").string(), "%lld");
    EXPECT_EQ(Text("%lld").string(), "%lld");
}

}  // namespace
}  // namespace ui
