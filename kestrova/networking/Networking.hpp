#pragma once

#include "platform/runtime/concurrency/Task.hpp"
#include "platform/runtime/foundation/core/Data.hpp"
#include "platform/runtime/foundation/core/Date.hpp"
#include "platform/runtime/foundation/http/HTTPURLResponse.hpp"
#include "platform/runtime/foundation/coding/JSONDecoder.hpp"
#include "platform/runtime/foundation/coding/JSONEncoder.hpp"
#include "platform/runtime/foundation/http/URLRequest.hpp"
#include "platform/runtime/foundation/http/URLSessionTaskDelegate.hpp"
#include "kestrova/model/KestrovaEntry.hpp"
#include "kestrova/model/MetricData.hpp"
#include "kestrova/model/User.hpp"
#include "kestrova/networking/KestrovaAPIError.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace foundation {
class Decoder;
}

namespace kestrova {

// The application's client of the service's API. Every call builds its
// request one way (makeRequest), sends it through one step (send) and checks
// the reply through one mapping (validate). Calls take the login token as an
// argument and never read the shared defaults; transport errors pass through
// unchanged as URLError, everything the server refuses is a KestrovaAPIError,
// and nothing is retried.
struct Networking {
    struct EntryUpload;  // EntryUpload.hpp
    class UploadProgressDelegate;  // UploadProgressDelegate.hpp

    // The one decoder of API replies, made once and shared by every call on
    // any thread; its only rule of its own reads the server's date text.
    static const foundation::JSONDecoder& decoder();

    // A reply as it came: the body undecoded, with its HTTP response.
    struct RawReply {
        foundation::Data body;
        std::shared_ptr<const foundation::HTTPURLResponse> response;
    };

    // The request of every call: the API base URL with the path appended, a
    // 60-second time-out and the cookie "token=" followed by the token.
    static foundation::URLRequest makeRequest(std::string_view path, std::string_view token);
    // The same request without the cookie, for a caller that holds no token.
    static foundation::URLRequest makeRequest(std::string_view path);

    // The status mapping: returns for 200 to 299; throws badRequest,
    // unauthorized, paymentRequired or forbidden for 400 to 403 with the
    // body's "message" or a fixed text, and serverError with the status for
    // everything else.
    static void checkStatus(const foundation::Data& body, const foundation::HTTPURLResponse& response);

    // The status mapping, then the 2xx body decoded as Reply with decoder();
    // a body that does not decode is decodingError.
    template <typename Reply>
    static Reply validate(const foundation::Data& body, const foundation::HTTPURLResponse& response) {
        checkStatus(body, response);
        try {
            return decoder().decode<Reply>(body);
        } catch (const std::exception&) {
            throw KestrovaAPIError::decodingError();
        }
    }

    // Sends the request (uploading the file as its body when one is given)
    // and returns the reply undecoded, after the status mapping. A reply that
    // is not an HTTP reply is noResponse. Systems before 12.0 have no session
    // calls that take a delegate: there the delegate is not used.
    static concurrency::Task<RawReply> sendRaw(
        foundation::URLRequest request, std::optional<foundation::URL> uploadFile = std::nullopt,
        std::shared_ptr<foundation::URLSessionTaskDelegate> delegate = nullptr);

    template <typename Reply>
    static concurrency::Task<Reply> send(foundation::URLRequest request,
                                         std::optional<foundation::URL> uploadFile = std::nullopt,
                                         std::shared_ptr<foundation::URLSessionTaskDelegate> delegate = nullptr) {
        const RawReply reply = co_await transfer(std::move(request), std::move(uploadFile), std::move(delegate));
        co_return validate<Reply>(reply.body, *reply.response);
    }

    // Makes the request a JSON POST of the body's compact encoding, with its
    // exact Content-Length, and sends it.
    template <typename Reply, typename Body>
    static concurrency::Task<Reply> sendJSON(foundation::URLRequest request, const Body& body) {
        co_return co_await send<Reply>(asJSONPost(std::move(request), foundation::JSONEncoder().encode(body)));
    }

    // POST "/auth/apn-device-token" with {"token": device token}.
    static concurrency::Task<void> registerDeviceToken(std::string deviceToken, std::string token);
    // POST "/metric-data" with the record; returns the stored record.
    static concurrency::Task<MetricData> createMetricData(MetricData metricData, std::string token);
    // POST "/users" with {"quietMode": value}, or {} without a value; returns the user.
    static concurrency::Task<User> setQuietMode(std::optional<bool> quietMode, std::string token);
    // GET "/auth": the signed-in user.
    static concurrency::Task<User> getUser(std::string token);
    // GET "/logout".
    static concurrency::Task<void> logout(std::string token);
    // POST "/entries/create" with the upload as a multipart form, streamed
    // from a temporary file that is gone again when the call ends, however it
    // ends. On systems with delegate calls the handler hears the share of the
    // body sent so far, on the session's thread; elsewhere it is never called.
    // Throws foundation::StreamError when the form cannot be written (nothing
    // is sent then), the transfer's URLError, or a KestrovaAPIError.
    static concurrency::Task<KestrovaEntry> createEntry(EntryUpload upload, std::string token,
                                                        std::function<void(double)> progressHandler);

private:
    static concurrency::Task<RawReply> transfer(foundation::URLRequest request,
                                                std::optional<foundation::URL> uploadFile,
                                                std::shared_ptr<foundation::URLSessionTaskDelegate> delegate);
    static foundation::URLRequest asJSONPost(foundation::URLRequest request, foundation::Data body);
};

// The server's points in time: "2023-04-05T06:07:08.123+02:00", or the same
// without milliseconds. Any other text throws JSONDecoder::DateError; a value
// that is no text throws the decoder's own type mismatch.
foundation::Date decodeAPIDate(foundation::Decoder& decoder);

}  // namespace kestrova
