// Writes the generated seed of appcast_fuzz into the folder named on the
// command line: the feed of an application with years of releases, each with
// its notes, a signature and betas among them, newest first as feeds list them.

#include "fuzz/support/SeedFile.hpp"

#include <cstdio>
#include <string>

namespace {

std::string item(int major, int minor, int patch, bool beta) {
    const std::string shown = std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(patch) +
                              (beta ? "b" + std::to_string(patch % 4 + 1) : "");
    const std::string build = std::to_string(major * 10000 + minor * 100 + patch);
    std::string notes;
    for (int line = 0; line < 12; ++line) {
        notes += "<li>Fixed a case where the journal list &amp; its streaks showed stale counts (#" +
                 std::to_string(build.size() * 100 + static_cast<std::size_t>(line)) + ")</li>\n";
    }
    return "    <item>\n"
           "      <title>Version " + shown + "</title>\n"
           "      <link>https://kestrova.example/releases/" + shown + "</link>\n"
           "      <sparkle:version>" + build + "</sparkle:version>\n"
           "      <sparkle:shortVersionString>" + shown + "</sparkle:shortVersionString>\n"
           "      <sparkle:minimumSystemVersion>11.5</sparkle:minimumSystemVersion>\n" +
           (beta ? "      <sparkle:channel>beta</sparkle:channel>\n" : "") +
           "      <description><![CDATA[<h2>What's new in " + shown + "</h2>\n<ul>\n" + notes + "</ul>]]></description>\n"
           "      <pubDate>Mon, 0" + std::to_string(patch % 9 + 1) + " Jan 20" + std::to_string(20 + major) +
           " 10:00:00 +0000</pubDate>\n"
           "      <enclosure url=\"https://downloads.kestrova.example/Kestrova-" + shown + ".tar.xz\" length=\"" +
           std::to_string(48000000 + patch * 1000) + "\" type=\"application/octet-stream\" sparkle:edSignature=\"" +
           "7cLALFUHSwvEJWSkV8aMreoBe4fhRa4FncC5NoThKxwThL6FDR7hTiPJh1fo2uagnPogisnQsgFgq6mGkt2RBw==\"/>\n"
           "    </item>\n";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: appcast_fuzz_write_seeds FOLDER\n");
        return 2;
    }
    std::string feed = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                       "<rss version=\"2.0\" xmlns:sparkle=\"http://www.andymatuschak.org/xml-namespaces/sparkle\" "
                       "xmlns:dc=\"http://purl.org/dc/elements/1.1/\">\n"
                       "  <channel>\n"
                       "    <title>Kestrova</title>\n"
                       "    <link>https://kestrova.example/appcast.xml</link>\n"
                       "    <language>en</language>\n";
    for (int major = 5; major >= 1; --major) {
        for (int minor = 9; minor >= 0; --minor) {
            for (int patch = 7; patch >= 0; --patch) {
                feed += item(major, minor, patch, patch % 5 == 4);
            }
        }
    }
    feed += "  </channel>\n</rss>\n";
    return fuzzsupport::writeSeed(argv[1], "long-feed.xml", feed) ? 0 : 1;
}
