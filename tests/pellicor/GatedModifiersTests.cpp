#include "pellicor/GatedModifiers.hpp"
#include "platform/kits/ui/Controls.hpp"
#include "platform/kits/ui/LayoutEngine.hpp"
#include "platform/kits/ui/Node.hpp"
#include "platform/runtime/foundation/core/SystemVersionOverride.hpp"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace pellicor {
namespace {

const ui::Color green = ui::Color::sRGB(0, 1, 0);

std::set<std::string> marks(const ui::View& view) {
    ui::LayoutEngine engine;
    const auto tree = engine.layout(view, {72, 72});
    std::set<std::string> keys;
    for (const auto* annotation : tree.all<ui::node::Annotation>()) {
        keys.insert(annotation->as<ui::node::Annotation>()->key);
    }
    return keys;
}

std::optional<ui::Color> tintOf(const ui::View& view) {
    ui::LayoutEngine engine;
    return engine.layout(view, {72, 72}).first<ui::node::ProgressView>()->environment->tint;
}

TEST(GatedModifiers, ApplyOnlyFromTheSystemThatHasThem) {
    struct Case {
        foundation::OperatingSystemVersion system;
        bool tints, marks;
    };
    const Case cases[] = {
        {{11, 5, 0}, false, false},
        {{11, 7, 10}, false, false},
        {{12, 0, 0}, true, false},
        {{12, 6, 0}, true, false},
        {{13, 0, 0}, true, true},
        {{14, 0, 0}, true, true},
    };
    const ui::View plain = ui::ProgressView(0.5);
    const std::set<std::string> none = marks(plain);
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.system.majorVersion << '.' << c.system.minorVersion);
        const foundation::SystemVersionOverride system(c.system);

        const ui::View tinted = tintIfAvailable(plain, green);
        EXPECT_EQ(tintOf(tinted), c.tints ? std::optional<ui::Color>(green) : std::nullopt);
        EXPECT_EQ(tinted.shared() == plain.shared(), !c.tints);  // unchanged: the very same view

        const ui::View sensitive = privacySensitiveIfAvailable(plain);
        const ui::View accentable = widgetAccentableIfAvailable(plain);
        EXPECT_EQ(sensitive.shared() == plain.shared(), !c.marks);
        EXPECT_EQ(accentable.shared() == plain.shared(), !c.marks);
        EXPECT_EQ(marks(sensitive).size(), none.size() + (c.marks ? 1 : 0));
        EXPECT_EQ(marks(accentable).size(), none.size() + (c.marks ? 1 : 0));
        if (c.marks) {
            EXPECT_NE(marks(sensitive), marks(accentable));  // two different marks
        }
    }
}

TEST(GatedModifiers, AskTheSystemEachTimeTheyApply) {
    const ui::View plain = ui::ProgressView(0.5);
    {
        const foundation::SystemVersionOverride older({11, 5, 0});
        EXPECT_EQ(tintOf(tintIfAvailable(plain, green)), std::nullopt);
    }
    const foundation::SystemVersionOverride newer({12, 0, 0});
    EXPECT_EQ(tintOf(tintIfAvailable(plain, green)), green);
}

}  // namespace
}  // namespace pellicor
