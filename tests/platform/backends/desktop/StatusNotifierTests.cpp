#include "platform/kits/appkit/Menu.hpp"
#include "platform/kits/appkit/StatusBar.hpp"
#include "platform/backends/desktop/StatusNotifierService.hpp"
#include "tests/platform/backends/desktop/BusPeer.hpp"
#include "tests/platform/backends/desktop/FakeStatusNotifierWatcher.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using FakeWatcher = desktoptest::FakeStatusNotifierWatcher;
using desktoptest::spinUntil;

appkit::Pixmap twoByOne() {
    return appkit::Pixmap{2, 1, {0xFF, 0x10, 0x20, 0x30, 0x80, 0x40, 0x50, 0x60}};
}

TEST(StatusNotifierServiceTest, TheItemRegistersWithTheWatcherShowsItsNamesAndPixmapAndAnswersActivateAndItsMenu) {
    FakeWatcher watcher;
    desktop::StatusNotifierService service("kestrova", "Kestrova");
    appkit::StatusBar bar(service);

    std::vector<appkit::EventType> clicks;
    bool quitChosen = false;
    auto menu = std::make_shared<appkit::Menu>("Kestrova Status Item Menu");
    menu->addItem(std::make_shared<appkit::MenuItem>("Quit Kestrova", [&](appkit::MenuItem&) { quitChosen = true; }, "q"));

    const auto item = bar.statusItem(appkit::StatusItem::squareLength);
    auto* button = item->button();
    button->setMenu(menu);
    button->setImage(twoByOne());
    button->setAction([&](appkit::StatusBarButton&) { clicks.push_back(appkit::EventType::leftMouseUp); });

    ASSERT_TRUE(spinUntil([&] { return !watcher.itemPath.empty(); }));

    // The identifier is for the panel, the title for people.
    for (const auto& [property, expected] : {std::pair{"Id", "kestrova"}, std::pair{"Title", "Kestrova"}}) {
        GVariant* value = watcher.property(property);
        ASSERT_NE(value, nullptr);
        EXPECT_STREQ(g_variant_get_string(value, nullptr), expected) << property;
        g_variant_unref(value);
    }

    GVariant* pixmaps = watcher.property("IconPixmap");
    ASSERT_NE(pixmaps, nullptr);
    ASSERT_EQ(g_variant_n_children(pixmaps), 1u);
    gint32 width = 0;
    gint32 height = 0;
    GVariant* bytes = nullptr;
    g_variant_get_child(pixmaps, 0, "(ii@ay)", &width, &height, &bytes);
    gsize length = 0;
    const auto* data = static_cast<const std::uint8_t*>(g_variant_get_fixed_array(bytes, &length, 1));
    EXPECT_EQ(width, 2);
    EXPECT_EQ(height, 1);
    EXPECT_EQ(std::vector<std::uint8_t>(data, data + length), twoByOne().argb);
    g_variant_unref(bytes);
    g_variant_unref(pixmaps);

    GVariant* reply = watcher.peer.call(watcher.itemSender, watcher.itemPath, "org.kde.StatusNotifierItem", "Activate",
                                        g_variant_new("(ii)", 0, 0));
    ASSERT_NE(reply, nullptr);
    g_variant_unref(reply);
    EXPECT_EQ(clicks.size(), 1u);

    GVariant* menuPath = watcher.property("Menu");
    ASSERT_NE(menuPath, nullptr);
    const std::string path = g_variant_get_string(menuPath, nullptr);
    g_variant_unref(menuPath);
    std::vector<desktoptest::MenuEntry> entries;
    ASSERT_TRUE(spinUntil([&] {
        entries = watcher.menuEntries(path);
        return entries.size() == 1;
    }));
    EXPECT_EQ(entries[0].label, "Quit Kestrova");

    desktoptest::clickMenuEntry(watcher.peer, watcher.itemSender, path, entries[0].id);
    EXPECT_TRUE(spinUntil([&] { return quitChosen; }));

    // A change of the menu's items reaches the panel.
    menu->addItem(std::make_shared<appkit::MenuItem>("Second", nullptr, ""));
    EXPECT_TRUE(spinUntil([&] { return watcher.menuEntries(path).size() == 2; }));

    // Once removed, the item's object is gone from the bus.
    bar.removeStatusItem(item);
    std::string error;
    reply = watcher.peer.call(watcher.itemSender, watcher.itemPath, "org.kde.StatusNotifierItem", "Activate",
                              g_variant_new("(ii)", 0, 0), &error);
    EXPECT_EQ(reply, nullptr);
    EXPECT_FALSE(error.empty());
}

TEST(StatusNotifierServiceTest, WithoutAWatcherTheItemIsNotShownWhichIsSaidOnceOnStandardError) {
    desktop::StatusNotifierService service("kestrova", "Kestrova");
    appkit::StatusBar bar(service);
    testing::internal::CaptureStderr();
    const auto first = bar.statusItem(appkit::StatusItem::squareLength);
    spinUntil([] { return false; }, std::chrono::milliseconds(300));
    const auto second = bar.statusItem(appkit::StatusItem::squareLength);
    spinUntil([] { return false; }, std::chrono::milliseconds(300));
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said, "kestrova: no StatusNotifier watcher on the session bus; the tray item is not shown\n");

    // A watcher that starts later gets the item.
    FakeWatcher watcher;
    EXPECT_TRUE(spinUntil([&] { return !watcher.itemPath.empty(); }));
}

}  // namespace
