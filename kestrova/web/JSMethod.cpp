#include "kestrova/web/JSMethod.hpp"

#include "platform/runtime/concurrency/MainActor.hpp"
#include "platform/runtime/concurrency/Spawn.hpp"
#include "platform/runtime/foundation/coding/Decoder.hpp"
#include "platform/runtime/foundation/coding/DecodingError.hpp"
#include "platform/runtime/foundation/coding/Encoder.hpp"
#include "platform/runtime/foundation/core/Hasher.hpp"
#include "platform/runtime/foundation/coding/SingleValueDecodingContainer.hpp"
#include "platform/runtime/foundation/coding/SingleValueEncodingContainer.hpp"
#include "platform/runtime/foundation/defaults/UserDefaults.hpp"
#include "platform/kits/webkit/WebsiteDataStore.hpp"
#include "platform/kits/widgetkit/WidgetCenter.hpp"
#include "kestrova/model/StoreLoginToken.hpp"
#include "kestrova/sound/KestrovaSound.hpp"
#include "kestrova/state/AppState.hpp"

#include <random>
#include <string>

namespace kestrova {
namespace {

constexpr std::array<std::string_view, 8> rawValues = {
    "onPublishedEntry",   "onRefreshData",           "onLogin",
    "onLogout",           "onPlayPublishSound",      "onPlayWaterPublishSound",
    "onPlayMessageSentSound", "onPlayMessageReceivedSound",
};

// Reads the setting at this moment.
bool soundEffectsOn() {
    return AppState::shared().soundFX.get();
}

// The sound is touched, and so made, only once the setting allowed it.
void soundStep(KestrovaSound& (*sound)()) {
    if (soundEffectsOn()) {
        sound().play();
    }
}

void waterSoundStep() {
    if (!soundEffectsOn()) {
        return;
    }
    // Both drops are made at the first message, then one is picked afresh from the system's random
    // source each time, with equal chances.
    const std::array<KestrovaSound*, 2> drops = {&KestrovaSound::water1(), &KestrovaSound::water2()};
    std::random_device source;
    drops[std::uniform_int_distribution<std::size_t>(0, 1)(source)]->play();
}

void startUserRefresh() {
    static_cast<void>(
        concurrency::spawn(concurrency::MainActor::shared(), [] { return AppState::shared().fetchAuthData(); }));
}

void startLogout() {
    static_cast<void>(concurrency::spawn(concurrency::MainActor::shared(), [] { return AppState::shared().logout(); }));
}

// Copies the login token from the web views' cookie "token" into the shared defaults, where the
// extensions read it, then refreshes the user and the widgets with it.
void syncLoginToken() {
    webkit::WebsiteDataStore::defaultDataStore().httpCookieStore().getAllCookies(
        [](const std::vector<foundation::HTTPCookie>& cookies) {
            storeLoginToken(cookies);
            startUserRefresh();
            // Before the refresh runs: the widgets reload with the token now stored.
            widgetkit::WidgetCenter::shared().reloadAllTimelines();
        });
}

}  // namespace

std::optional<JSMethod> JSMethod::fromRawValue(std::string_view rawValue) {
    for (const JSMethod method : allCases()) {
        if (method.rawValue() == rawValue) {
            return method;
        }
    }
    return std::nullopt;
}

std::string_view JSMethod::rawValue() const noexcept {
    return rawValues[value_];
}

void JSMethod::handle() const {
    handleJSMethod(*this);
}

void JSMethod::hash(foundation::Hasher& hasher) const {
    hasher.combine(std::uint64_t{value_});
}

JSMethod JSMethod::decode(foundation::Decoder& decoder) {
    const auto container = decoder.singleValueContainer();
    const std::string text = container.decode<std::string>();
    if (const auto method = fromRawValue(text)) {
        return *method;
    }
    throw foundation::DecodingError(foundation::DecodingError::Kind::dataCorrupted, container.codingPath(),
                                    "Cannot initialize JSMethod from invalid String value " + text);
}

void JSMethod::encode(foundation::Encoder& encoder) const {
    encoder.singleValueContainer().encode(rawValue());
}

void handleJSMethod(JSMethod method) {
    switch (method.value()) {
    case JSMethod::onPublishedEntry:
        soundStep(&KestrovaSound::publish);
        widgetkit::WidgetCenter::shared().reloadAllTimelines();
        startUserRefresh();
        return;
    case JSMethod::onRefreshData:
        startUserRefresh();
        return;
    case JSMethod::onLogin:
        syncLoginToken();
        return;
    case JSMethod::onLogout:
        startLogout();
        return;
    case JSMethod::onPlayPublishSound:
        soundStep(&KestrovaSound::publish);
        return;
    case JSMethod::onPlayWaterPublishSound:
        waterSoundStep();
        return;
    case JSMethod::onPlayMessageSentSound:
        soundStep(&KestrovaSound::messageSent);
        return;
    case JSMethod::onPlayMessageReceivedSound:
        soundStep(&KestrovaSound::messageReceived);
        return;
    }
}

}  // namespace kestrova
