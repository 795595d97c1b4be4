#include "kestrova/networking/Networking.hpp"

#include "platform/runtime/foundation/core/DateFormatter.hpp"
#include "platform/runtime/foundation/coding/Decoder.hpp"
#include "platform/runtime/foundation/coding/Encoder.hpp"
#include "platform/runtime/foundation/coding/KeyedEncodingContainer.hpp"
#include "platform/runtime/foundation/core/ProcessInfo.hpp"
#include "platform/runtime/foundation/coding/SingleValueDecodingContainer.hpp"
#include "platform/runtime/foundation/http/URLSession.hpp"
#include "kestrova/networking/EntryUpload.hpp"
#include "kestrova/networking/KestrovaAPIResponse.hpp"
#include "kestrova/networking/ServiceHosts.hpp"
#include "kestrova/networking/TemporaryFile.hpp"
#include "kestrova/networking/URLSessionBackport.hpp"
#include "kestrova/networking/UploadProgressDelegate.hpp"

#include <string>

namespace kestrova {

const foundation::JSONDecoder& Networking::decoder() {
    static const foundation::JSONDecoder shared = [] {
        foundation::JSONDecoder decoder;
        decoder.dateDecodingStrategy = foundation::JSONDecoder::DateDecodingStrategy::custom(decodeAPIDate);
        return decoder;
    }();
    return shared;
}

foundation::Date decodeAPIDate(foundation::Decoder& decoder) {
    // A formatter per value keeps calls free of shared state; making one
    // allocates nothing.
    foundation::DateFormatter formatter;
    formatter.setCalendar(foundation::Calendar(foundation::Calendar::Identifier::iso8601));
    formatter.setLocale(foundation::Locale("en_US_POSIX"));
    formatter.setTimeZone(*foundation::TimeZone::fromSecondsFromGMT(0));

    const auto text = decoder.singleValueContainer().decode<std::string>();
    formatter.setDateFormat("yyyy-MM-dd'T'HH:mm:ss.SSSXXXXX");
    if (const auto date = formatter.date(text)) {
        return *date;
    }
    formatter.setDateFormat("yyyy-MM-dd'T'HH:mm:ssXXXXX");
    if (const auto date = formatter.date(text)) {
        return *date;
    }
    throw foundation::JSONDecoder::DateError();
}

namespace {

constexpr double requestTimeout = 60.0;

struct DeviceTokenBody {
    std::string token;

    void encode(foundation::Encoder& encoder) const { encoder.container().encode("token", token); }
};

struct QuietModeBody {
    std::optional<bool> quietMode;

    void encode(foundation::Encoder& encoder) const {
        auto container = encoder.container();
        container.encodeIfPresent("quietMode", quietMode);
    }
};

// The text a refusal carries, or its fixed text when the body has none.
std::string refusalMessage(const foundation::Data& body, const char* fallback) {
    try {
        return foundation::JSONDecoder().decode<KestrovaAPIResponse>(body).message.str();
    } catch (const std::exception&) {
        return fallback;
    }
}

}  // namespace

foundation::URLRequest Networking::makeRequest(std::string_view path) {
    return foundation::URLRequest(apiBaseURL().appendingPathComponent(path),
                                  foundation::URLRequest::CachePolicy::useProtocolCachePolicy, requestTimeout);
}

foundation::URLRequest Networking::makeRequest(std::string_view path, std::string_view token) {
    auto request = makeRequest(path);
    request.addValue("token=" + std::string(token), "Cookie");
    return request;
}

void Networking::checkStatus(const foundation::Data& body, const foundation::HTTPURLResponse& response) {
    switch (const int status = response.statusCode()) {
        case 400:
            throw KestrovaAPIError::badRequest(refusalMessage(body, "An unknown error occurred."));
        case 401:
            throw KestrovaAPIError::unauthorized(refusalMessage(body, "You are not authenticated."));
        case 402:
            throw KestrovaAPIError::paymentRequired(
                refusalMessage(body, "You need a Kestrova+ subscription to perform this action."));
        case 403:
            throw KestrovaAPIError::forbidden(refusalMessage(body, "You have no permission to access this resource."));
        default:
            if (status < 200 || status > 299) {
                throw KestrovaAPIError::serverError(status);
            }
    }
}

concurrency::Task<Networking::RawReply> Networking::transfer(
    foundation::URLRequest request, std::optional<foundation::URL> uploadFile,
    std::shared_ptr<foundation::URLSessionTaskDelegate> delegate) {
    auto& session = foundation::URLSession::shared();
    const bool hasDelegateCalls = foundation::ProcessInfo::processInfo().isOperatingSystemAtLeast({12, 0, 0});
    if (!hasDelegateCalls) {
        delegate = nullptr;
    }
    // Plain statements, not a conditional expression around co_await, which
    // GCC 12 compiles wrongly.
    foundation::URLSessionReply reply;
    if (uploadFile) {
        reply = co_await session.upload(std::move(request), std::move(*uploadFile), std::move(delegate));
    } else if (hasDelegateCalls) {
        reply = co_await session.data(std::move(request), std::move(delegate));
    } else {
        reply = co_await data(session, std::move(request));
    }
    auto response = std::dynamic_pointer_cast<const foundation::HTTPURLResponse>(reply.response);
    if (!response) {
        throw KestrovaAPIError::noResponse();
    }
    co_return RawReply{std::move(reply.data), std::move(response)};
}

concurrency::Task<Networking::RawReply> Networking::sendRaw(
    foundation::URLRequest request, std::optional<foundation::URL> uploadFile,
    std::shared_ptr<foundation::URLSessionTaskDelegate> delegate) {
    RawReply reply = co_await transfer(std::move(request), std::move(uploadFile), std::move(delegate));
    checkStatus(reply.body, *reply.response);
    co_return reply;
}

foundation::URLRequest Networking::asJSONPost(foundation::URLRequest request, foundation::Data body) {
    const std::string length = std::to_string(body.size());
    request.setHTTPMethod("POST");
    request.setHTTPBody(std::move(body));
    request.setValue(length, "Content-Length");
    request.setValue("application/json", "Content-Type");
    return request;
}

concurrency::Task<void> Networking::registerDeviceToken(std::string deviceToken, std::string token) {
    // Any 2xx reply means the server took the token, whatever its body says.
    auto request = asJSONPost(makeRequest("/auth/apn-device-token", token),
                              foundation::JSONEncoder().encode(DeviceTokenBody{std::move(deviceToken)}));
    co_await sendRaw(std::move(request));
}

concurrency::Task<MetricData> Networking::createMetricData(MetricData metricData, std::string token) {
    co_return co_await sendJSON<MetricData>(makeRequest("/metric-data", token), metricData);
}

concurrency::Task<User> Networking::setQuietMode(std::optional<bool> quietMode, std::string token) {
    co_return co_await sendJSON<User>(makeRequest("/users", token), QuietModeBody{quietMode});
}

concurrency::Task<User> Networking::getUser(std::string token) {
    co_return co_await send<User>(makeRequest("/auth", token));
}

concurrency::Task<void> Networking::logout(std::string token) {
    co_await sendRaw(makeRequest("/logout", token));
}

concurrency::Task<KestrovaEntry> Networking::createEntry(EntryUpload upload, std::string token,
                                                         std::function<void(double)> progressHandler) {
    auto request = makeRequest("/entries/create", token);
    MultipartFormData form = upload.multipartFormData();
    auto delegate = std::make_shared<UploadProgressDelegate>(std::move(progressHandler));
    const auto& fileManager = form.fileManager();
    // Made before the write, so that a form that fails half-way leaves no
    // partial body behind either.
    const TemporaryFile body(fileManager.temporaryDirectory().appendingPathComponent(form.boundary() + ".tmp"),
                             fileManager);
    form.writeEncodedData(body.url());

    const auto size = fileManager.attributesOfItem(body.url().path()).size;
    request.setHTTPMethod("POST");
    request.setValue(std::to_string(size.value_or(0)), "Content-Length");
    request.setValue("multipart/form-data; boundary=" + form.boundary(), "Content-Type");
    co_return co_await send<KestrovaEntry>(std::move(request), body.url(), std::move(delegate));
}

}  // namespace kestrova
