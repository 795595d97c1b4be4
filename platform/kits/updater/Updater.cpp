#include "platform/kits/updater/Updater.hpp"

#include "platform/kits/appkit/Workspace.hpp"
#include "platform/runtime/concurrency/MainActor.hpp"
#include "platform/runtime/concurrency/Spawn.hpp"
#include "platform/runtime/foundation/http/HTTPURLResponse.hpp"
#include "platform/runtime/foundation/http/URLError.hpp"
#include "platform/runtime/foundation/http/URLRequest.hpp"
#include "platform/runtime/foundation/http/URLSession.hpp"
#include "platform/kits/updater/Appcast.hpp"

#include <algorithm>
#include <cstddef>
#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace updater {

namespace {

// What a check brings back: the newest release above the running one (none when up to date), or
// why it failed.
using Outcome = std::variant<std::optional<AppcastItem>, std::string>;

// Real feeds are kilobytes; a long history with release notes written into the feed stays around a
// megabyte. A feed far beyond that is broken or hostile: its download stops at this size, so it is
// neither held in memory nor parsed on the main thread, where a feed of this size still parses in
// well under a tenth of a second.
constexpr std::size_t largestFeedMebibytes = 8;

std::string feedTooLarge() {
    return "The update feed is larger than the largest feed allowed (" + std::to_string(largestFeedMebibytes) +
           " MiB).";
}

// One line however many there are; the feed's text is shown with its control characters as '?', so
// that it cannot end the line early and forge the next one.
void sayRefusedLinks(const std::vector<std::string>& links) {
    if (links.empty()) {
        return;
    }
    std::string first = links.front();
    std::ranges::replace_if(first, [](unsigned char c) { return c < 0x20 || c == 0x7f; }, '?');
    if (links.size() == 1) {
        std::cerr << "kestrova: left out a link of the update feed that is not https: " << first << '\n';
    } else {
        std::cerr << "kestrova: left out " << links.size()
                  << " links of the update feed that are not https, the first: " << first << '\n';
    }
}

concurrency::Task<Outcome> fetch(foundation::URL feed, std::string currentVersion) {
    try {
        foundation::URLRequest request(feed);
        request.setLargestReplyLength(largestFeedMebibytes << 20);
        const auto reply = co_await foundation::URLSession::shared().data(request);
        const auto* http = dynamic_cast<const foundation::HTTPURLResponse*>(reply.response.get());
        if (http != nullptr && (http->statusCode() < 200 || http->statusCode() > 299)) {
            co_return Outcome(std::in_place_index<1>,
                              "The update feed answered with HTTP status " + std::to_string(http->statusCode()) + ".");
        }
        // The links are judged by where the feed came from in the end, after any redirect.
        const Appcast appcast = Appcast::parse(reply.data, reply.response->url());
        sayRefusedLinks(appcast.refusedLinks());
        co_return Outcome(std::in_place_index<0>, appcast.newestItemAbove(currentVersion));
    } catch (const foundation::URLError& error) {
        const bool tooLarge = error.code() == foundation::URLError::Code::dataLengthExceedsMaximum;
        co_return Outcome(std::in_place_index<1>, tooLarge ? feedTooLarge() : std::string(error.what()));
    } catch (const std::exception& error) {
        co_return Outcome(std::in_place_index<1>, std::string(error.what()));
    }
}

}  // namespace

Updater::Updater(UpdaterConfiguration configuration, UpdaterUserDriver& driver)
    : canCheckForUpdates(*this, false),
      configuration_(std::move(configuration)),
      driver_(driver) {}

Updater::~Updater() {
    nextCheck_.cancel();
}

void Updater::startUpdater() {
    if (started_ || !configuration_.feedURL) {
        return;
    }
    started_ = true;
    canCheckForUpdates = true;
    check(false);
}

void Updater::checkForUpdates() {
    if (!canCheckForUpdates.get()) {
        return;
    }
    check(true);
}

void Updater::scheduleNextCheck() {
    nextCheck_.cancel();
    nextCheck_ = concurrency::MainActor::shared().enqueueAfter(
        configuration_.checkInterval, base::ifAlive(self_.weak(), [](Updater& updater) { updater.check(false); }));
}

void Updater::check(bool userInitiated) {
    if (checking_) {
        return;
    }
    checking_ = true;
    canCheckForUpdates = false;
    concurrency::spawn(concurrency::MainActor::shared(),
                       [weak = self_.weak(), userInitiated, feed = *configuration_.feedURL,
                        version = configuration_.currentVersion]() -> concurrency::Task<void> {
                           const Outcome outcome = co_await fetch(feed, version);
                           const auto self = weak.lock();
                           if (!self) {
                               co_return;
                           }
                           Updater& updater = *self;
                           updater.checking_ = false;
                           updater.canCheckForUpdates = true;
                           // Every check, the user's too, restarts the interval.
                           updater.scheduleNextCheck();
                           if (const auto* failure = std::get_if<1>(&outcome)) {
                               if (userInitiated) {
                                   updater.driver_.showUpdaterError(*failure);
                               }
                           } else if (const auto& newest = std::get<0>(outcome)) {
                               updater.driver_.showUpdateFound(*newest, [page = newest->infoURL()](bool wantsUpdate) {
                                   if (wantsUpdate) {
                                       appkit::Workspace::shared().open(page);
                                   }
                               });
                           } else if (userInitiated) {
                               updater.driver_.showUpToDate(version);
                           }
                       });
}

}  // namespace updater
