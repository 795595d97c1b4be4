#include "tools/standin/WebFrontEnd.hpp"

#include "tools/standin/ApiService.hpp"
#include "tools/standin/Days.hpp"
#include "tools/standin/OutputLine.hpp"

#include <algorithm>
#include <random>

namespace standin {
namespace {

std::string newToken() {
    std::random_device device;
    static constexpr char digits[] = "0123456789abcdef";
    std::string token;
    for (int i = 0; i < 32; ++i) {
        token += digits[device() % 16];
    }
    return token;
}

std::string badges(const StoredJournal& journal, const std::string& day) {
    std::string out;
    auto badge = [&](const char* kind, const char* text) {
        out += std::string("<span class=\"badge ") + kind + "\">" + text + "</span>";
    };
    if (journal.isDoneOn(day)) {
        badge("done", "done today");
    } else if (journal.isDue()) {
        badge("due", "due");
    }
    if (journal.isDaily) {
        badge("plain", "daily");
    }
    if (journal.isScheduled) {
        badge("plain", "scheduled");
    }
    if (journal.isPrivate) {
        badge("plain", "private");
    }
    return out;
}

std::string icon(const StoredJournal& journal, const ServiceAddresses& addresses) {
    if (journal.iconEmoji) {
        return "<span class=\"icon\">" + escapedHTML(*journal.iconEmoji) + "</span>";
    }
    return "<img class=\"icon\" alt=\"\" src=\"" + addresses.apiBase() + "/journals/" + std::to_string(journal.id) +
           "/icon.svg\">";
}

std::string entriesList(const StoredJournal& journal) {
    if (journal.entries.empty()) {
        return "<p class=\"muted\">No entries yet.</p>";
    }
    std::string out = "<ul class=\"entries\">";
    for (auto entry = journal.entries.rbegin(); entry != journal.entries.rend(); ++entry) {
        out += "<li><span class=\"muted\">" + escapedHTML(entry->streakDate) + "</span> ";
        for (const auto& block : entry->blocks) {
            out += block.text ? escapedHTML(*block.text) + " "
                              : "<span class=\"badge plain\">" + escapedHTML(block.fileName.value_or("file")) +
                                    "</span> ";
        }
        out += "</li>";
    }
    return out + "</ul>";
}

const std::string loadBeaconScript =
    "<script>addEventListener(\"load\", () => navigator.sendBeacon(\"/loaded?path=\" + "
    "encodeURIComponent(location.pathname)));</script>";

const std::string journalsLink = "<a href=\"/home\">Journals</a>";
const std::string signOutLink = "<a href=\"#\" data-sign-out>Sign out</a>";

}  // namespace

WebFrontEnd::WebFrontEnd(Store& store, ServiceAddresses addresses, std::filesystem::path pagesDirectory,
                         bool loadBeacon)
    : store_(store),
      addresses_(std::move(addresses)),
      pages_(std::move(pagesDirectory)),
      loadBeacon_(loadBeacon) {}

void WebFrontEnd::handle(const httplib::Request& request, httplib::Response& response, bool beta) const {
    const auto& path = request.path;
    if (path == "/style.css") {
        return pages_.serve(response, "style.css", "text/css");
    }
    if (path == "/app.js") {
        return pages_.serve(response, "app.js", "text/javascript");
    }
    if (path == "/kestrova-sample.pdf") {
        response.set_header("Content-Disposition", "attachment; filename=\"kestrova-sample.pdf\"");
        return pages_.serve(response, "kestrova-sample.pdf", "application/pdf");
    }
    if (path == "/loaded" && request.method == "POST" && loadBeacon_) {
        printOutputLine("loaded " + request.get_param_value("path"));
        response.status = 204;
        return;
    }
    if (path == "/login" && request.method == "POST") {
        return signIn(request, response);
    }
    if (path == "/login") {
        return page(response, "login.html", {{"title", "Sign in"}}, beta);
    }
    // The two pages of the application's Help menu.
    if (path == "/requests") {
        return page(response, "board.html",
                    {{"title", "Requests and Bugs"},
                     {"nav", journalsLink},
                     {"intro", "Feature requests and bug reports for the service."}},
                    beta);
    }
    if (path == "/meta") {
        return page(response, "board.html",
                    {{"title", "macOS Meta"}, {"nav", journalsLink}, {"intro", "Feedback on the desktop application."}},
                    beta);
    }
    if (path == "/playground") {
        return page(response, "playground.html",
                    {{"title", "Playground"},
                     {"nav", journalsLink},
                     {"foreign-frame", escapedHTML(addresses_.origin(addresses_.foreignHost()) + "/embed")}},
                    beta);
    }
    const auto account = store_.read([&](const StandinData& data) -> std::optional<StoredAccount> {
        const auto* found = data.accountWithToken(ApiService::sessionToken(request).value_or(""));
        return found ? std::optional(*found) : std::nullopt;
    });
    if (!account && (path == "/" || path == "/home" || std::ranges::count(path, '/') == 2)) {
        return response.set_redirect("/login");
    }
    if (path == "/" || path == "/home") {
        const std::string day = today();
        std::string journals;
        for (const auto& journal : account->journals) {
            journals += "<li><a class=\"journal\" href=\"/" + escapedHTML(account->username) + "/" +
                        escapedHTML(journal.slug) + "\">" + icon(journal, addresses_) + "<span class=\"title\">" +
                        escapedHTML(journal.title) + "</span><span class=\"streak\">" +
                        std::to_string(journal.streak) + "</span>" + badges(journal, day) + "</a></li>";
        }
        return page(response, "home.html",
                    {{"title", "Journals"},
                     {"nav", "<a href=\"/playground\">Playground</a>" + signOutLink},
                     {"username", escapedHTML(account->username)},
                     {"journals", journals}},
                    beta);
    }
    const auto slash = path.find('/', 1);
    if (account && slash != std::string::npos && path.substr(1, slash - 1) == account->username) {
        const auto slug = path.substr(slash + 1);
        const auto journal = std::ranges::find(account->journals, slug, &StoredJournal::slug);
        if (journal != account->journals.end()) {
            return page(response, "journal.html",
                        {{"title", escapedHTML(journal->title)},
                         {"nav", journalsLink + signOutLink},
                         {"journal-id", std::to_string(journal->id)},
                         {"journal-title", escapedHTML(journal->title)},
                         {"journal-description", escapedHTML(journal->description)},
                         {"icon", icon(*journal, addresses_)},
                         {"streak", std::to_string(journal->streak)},
                         {"badges", badges(*journal, today())},
                         {"entries", entriesList(*journal)}},
                        beta);
        }
    }
    response.status = 404;
    page(response, "missing.html", {{"title", "Not found"}, {"path", escapedHTML(path)}}, beta);
}

void WebFrontEnd::signIn(const httplib::Request& request, httplib::Response& response) const {
    const auto username = request.get_param_value("username");
    const auto password = request.get_param_value("password");
    const auto token = store_.update([&](StandinData& data) -> std::optional<std::string> {
        auto* account = data.accountWithUsername(username);
        if (account == nullptr || account->password != password) {
            return std::nullopt;
        }
        if (!account->token) {
            account->token = newToken();
        }
        return account->token;
    });
    if (!token) {
        response.status = 401;
        response.set_content(R"({"message":"Wrong username or password."})", "application/json");
        return;
    }
    // For the whole domain, so that the beta and the API host get it too.
    response.set_header("Set-Cookie", "token=" + *token + "; Domain=" + addresses_.domain +
                                          "; Path=/; Max-Age=2592000; Secure; SameSite=Lax");
    response.set_content("{}", "application/json");
}

void WebFrontEnd::page(httplib::Response& response, const std::string& file,
                       std::map<std::string, std::string> holes, bool beta) const {
    holes["beta-class"] = beta ? "beta" : "production";
    holes["beta-badge"] = beta ? "<span class=\"badge beta\">beta</span>" : "";
    holes["api"] = addresses_.apiBase();
    holes.try_emplace("nav", "");
    holes["load-beacon"] = loadBeacon_ ? loadBeaconScript : "";
    // The page's own text goes into the layout last, so that nothing typed
    // into an entry is taken for a hole.
    const std::string content = filledHoles(pages_.read(file), holes);
    std::string html = filledHoles(pages_.read("layout.html"), holes);
    if (const auto at = html.find("{{content}}"); at != std::string::npos) {
        html.replace(at, std::string_view("{{content}}").size(), content);
    }
    response.set_content(html, "text/html; charset=utf-8");
}

}  // namespace standin
