#include "orvane/Requests.hpp"

#include "kestrova/networking/KestrovaAPIError.hpp"
#include "kestrova/networking/Networking.hpp"
#include "kestrova/networking/ServiceHosts.hpp"
#include "kestrova/networking/URLSessionBackport.hpp"
#include "platform/runtime/foundation/core/DateFormatter.hpp"
#include "platform/runtime/foundation/http/HTTPURLResponse.hpp"
#include "platform/runtime/foundation/coding/JSONDecoder.hpp"
#include "platform/runtime/foundation/coding/JSONWriter.hpp"
#include "platform/runtime/foundation/http/URLRequest.hpp"
#include "platform/runtime/foundation/http/URLSession.hpp"
#include "platform/kits/httpclient/Session.hpp"

namespace orvane {
namespace {

constexpr double requestTimeout = 60.0;

foundation::URLRequest postRequest(std::string_view path) {
    foundation::URLRequest request(kestrova::apiBaseURL().appendingPathComponent(path),
                                   foundation::URLRequest::CachePolicy::useProtocolCachePolicy, requestTimeout);
    request.setHTTPMethod("POST");
    return request;
}

std::string todaysStreakDate() {
    foundation::DateFormatter formatter;
    formatter.setDateFormat("yyyy-MM-dd");
    return formatter.string(foundation::Date::now());
}

// The settings object, or none when a text is not UTF-8: the request then
// goes without a body, as a failed serialisation leaves it.
std::optional<foundation::Data> settingsBody(const std::optional<bool>& weeklySummary,
                                             const std::optional<bool>& emailNotifications,
                                             const std::optional<bool>& reminderNotifications,
                                             const std::optional<std::string>& website,
                                             const std::optional<std::string>& username,
                                             const std::optional<std::string>& email,
                                             const std::optional<std::string>& password,
                                             const std::optional<bool>& quietMode) {
    foundation::JSONWriter writer;
    bool valid = true;
    const auto flag = [&](std::string_view key, const std::optional<bool>& value) {
        if (value) {
            valid = writer.key(key) && valid;
            writer.boolean(*value);
        }
    };
    const auto text = [&](std::string_view key, const std::optional<std::string>& value, bool emptyIsNull) {
        if (!value) {
            return;
        }
        valid = writer.key(key) && valid;
        if (emptyIsNull && value->empty()) {
            writer.null();
        } else if (!writer.string(*value)) {
            valid = false;
        }
    };
    writer.beginObject();
    flag("weeklySummary", weeklySummary);
    flag("emailNotifications", emailNotifications);
    flag("reminderNotifications", reminderNotifications);
    text("website", website, true);
    text("username", username, false);
    text("email", email, false);
    text("password", password, false);
    flag("quietMode", quietMode);
    writer.endObject();
    if (!valid) {
        return std::nullopt;
    }
    return writer.take();
}

}  // namespace

std::shared_ptr<httpclient::UploadRequest> createEntry(const std::string& token, const std::string& notes,
                                                       std::int64_t journalId, const std::optional<UploadFile>& file,
                                                       bool isPrivate) {
    foundation::URLRequest request = postRequest("/entries");
    request.addValue("token=" + token, "Cookie");
    request.addValue("App", "User-Agent");
    const std::string streakDate = todaysStreakDate();
    return httpclient::Session::shared().upload(
        [&](httpclient::MultipartFormData& form) {
            form.append(foundation::Data(notes), "notes");
            form.append(foundation::Data(streakDate), "streakDate");
            form.append(foundation::Data(std::to_string(journalId)), "journal_id");
            form.append(foundation::Data(isPrivate ? "true" : "false"), "private");
            if (!file) {
                form.append(foundation::Data(), "file");
            } else if (file->fileURL) {
                form.append(*file->fileURL, "file", file->name, file->mimeType);
            } else {
                form.append(file->data, "file", file->name, file->mimeType);
            }
        },
        std::move(request), httpclient::Session::defaultMultipartFormDataEncodingMemoryThreshold);
}

concurrency::Task<ReducedUser> updateUser(std::string token, std::optional<bool> weeklySummary,
                                   std::optional<bool> emailNotifications, std::optional<bool> reminderNotifications,
                                   std::optional<std::string> website, std::optional<std::string> username,
                                   std::optional<std::string> email, std::optional<std::string> password,
                                   std::optional<bool> quietMode) {
    foundation::URLRequest request = postRequest("/users");
    request.setValue("application/json", "Content-Type");
    request.setValue("token=" + token, "Cookie");
    request.setHTTPBody(settingsBody(weeklySummary, emailNotifications, reminderNotifications, website, username,
                                     email, password, quietMode));
    const foundation::URLSessionReply reply =
        co_await kestrova::data(foundation::URLSession::shared(), std::move(request));
    const auto* response = dynamic_cast<const foundation::HTTPURLResponse*>(reply.response.get());
    if (response == nullptr) {
        throw kestrova::KestrovaAPIError::noResponse();
    }
    // A refusal is a failure even when its body happens to read as a user.
    kestrova::Networking::checkStatus(reply.data, *response);
    co_return foundation::JSONDecoder().decode<ReducedUser>(reply.data);
}

}  // namespace orvane
