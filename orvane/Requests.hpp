#pragma once

#include "orvane/ReducedUser.hpp"
#include "orvane/UploadFile.hpp"
#include "platform/runtime/concurrency/Task.hpp"
#include "platform/kits/httpclient/UploadRequest.hpp"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace orvane {

// The extension's two API calls, both from the API base URL, with the login
// token as the cookie "token" and a 60-second time-out.

// POST "/entries" as a multipart form through the HTTP client library's
// default session, with "User-Agent: App": the parts "notes", "streakDate"
// (today, local), "journal_id", "private" ("true" or "false") and "file",
// in that order. The "file" part is always sent: with a file its bytes, name
// and content type (empty kept), without one empty bytes, no name, no type.
// Returns the request already handed to the session; its response says how
// it went, nothing is thrown.
std::shared_ptr<httpclient::UploadRequest> createEntry(const std::string& token, const std::string& notes,
                                                       std::int64_t journalId, const std::optional<UploadFile>& file,
                                                       bool isPrivate);

// POST "/users" with a JSON object of the settings given, and only those
// ("website" as null for empty text). Returns the user the reply holds.
// Throws the transfer's error; KestrovaAPIError for a reply whose status is
// not 2xx, whatever its body; the decoding error for a 2xx body that is no
// user.
concurrency::Task<ReducedUser> updateUser(std::string token, std::optional<bool> weeklySummary = std::nullopt,
                                   std::optional<bool> emailNotifications = std::nullopt,
                                   std::optional<bool> reminderNotifications = std::nullopt,
                                   std::optional<std::string> website = std::nullopt,
                                   std::optional<std::string> username = std::nullopt,
                                   std::optional<std::string> email = std::nullopt,
                                   std::optional<std::string> password = std::nullopt,
                                   std::optional<bool> quietMode = std::nullopt);

}  // namespace orvane
