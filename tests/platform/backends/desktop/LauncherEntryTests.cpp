#include "platform/kits/appkit/Menu.hpp"
#include "platform/backends/desktop/LauncherEntryService.hpp"
#include "tests/platform/backends/desktop/BusPeer.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using desktoptest::BusPeer;
using desktoptest::spinUntil;

// A dock's side: hears the launcher entry's updates.
struct FakeLauncher {
    BusPeer peer;
    std::string sender;
    std::string appURI;
    std::string quicklist;
    int updates = 0;

    FakeLauncher() {
        peer.listen("com.canonical.Unity.LauncherEntry",
                    [this](const std::string& from, const std::string&, const std::string& signal, GVariant* parameters) {
                        if (signal != "Update") {
                            return;
                        }
                        const gchar* uri = nullptr;
                        GVariant* properties = nullptr;
                        g_variant_get(parameters, "(&s@a{sv})", &uri, &properties);
                        const gchar* path = nullptr;
                        if (g_variant_lookup(properties, "quicklist", "&s", &path)) {
                            quicklist = path;
                        }
                        g_variant_unref(properties);
                        sender = from;
                        appURI = uri;
                        ++updates;
                    });
    }
};

std::shared_ptr<appkit::MenuItem> journalItem(const std::string& title, long tag, std::vector<long>& chosen) {
    auto item = std::make_shared<appkit::MenuItem>(
        title, [&chosen](appkit::MenuItem& sender) { chosen.push_back(sender.tag()); }, "");
    item->setTag(tag);
    return item;
}

TEST(LauncherEntryServiceTest, TheQuicklistIsAnnouncedExportedAndItsItemsReachTheirActionWithTheirTag) {
    FakeLauncher launcher;
    desktop::LauncherEntryService service("kestrova.desktop");
    std::vector<long> chosen;
    auto menu = std::make_shared<appkit::Menu>("Journals");
    menu->addItem(journalItem("📓 Morning pages", 7, chosen));
    menu->addItem(journalItem("Runs", 9, chosen));
    service.setMenu(menu);

    ASSERT_TRUE(spinUntil([&] { return launcher.updates > 0; }));
    EXPECT_EQ(launcher.appURI, "application://kestrova.desktop");
    ASSERT_FALSE(launcher.quicklist.empty());

    // The menu's object joins the bus within a turn of the main loop.
    std::vector<desktoptest::MenuEntry> entries;
    ASSERT_TRUE(spinUntil([&] {
        entries = desktoptest::menuEntries(launcher.peer, launcher.sender, launcher.quicklist);
        return entries.size() == 2;
    }));
    EXPECT_EQ(entries[0].label, "📓 Morning pages");
    EXPECT_EQ(entries[1].label, "Runs");
    desktoptest::clickMenuEntry(launcher.peer, launcher.sender, launcher.quicklist, entries[1].id);
    EXPECT_TRUE(spinUntil([&] { return !chosen.empty(); }));
    EXPECT_EQ(chosen, std::vector<long>{9});

    // A dock that starts later asks for the entry.
    GVariant* reply = launcher.peer.call(launcher.sender, "/com/canonical/unity/launcherentry/kestrova",
                                         "com.canonical.Unity.LauncherEntry", "Query", nullptr);
    ASSERT_NE(reply, nullptr);
    GVariant* properties = g_variant_get_child_value(reply, 1);
    const gchar* path = nullptr;
    EXPECT_TRUE(g_variant_lookup(properties, "quicklist", "&s", &path));
    EXPECT_EQ(std::string(path != nullptr ? path : ""), launcher.quicklist);
    g_variant_unref(properties);
    g_variant_unref(reply);

    // A rebuild of the menu reaches the dock: here it empties.
    menu->removeAllItems();
    EXPECT_TRUE(spinUntil(
        [&] { return desktoptest::menuEntries(launcher.peer, launcher.sender, launcher.quicklist).empty(); }));
}

}  // namespace
