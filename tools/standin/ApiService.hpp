#pragma once

#include "tools/standin/ServiceAddresses.hpp"
#include "tools/standin/Store.hpp"

#include <httplib.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace standin {

// The name under which a file block's bytes are kept: the entry's id and the
// block's index.
std::string storedFileName(std::int64_t entryId, std::int64_t index);

// The API host: the calls the application and its extensions make, with the
// replies, statuses and "message" bodies of the real service. Every call but
// the icons and the stored files needs the cookie "token" of a session.
class ApiService {
public:
    ApiService(Store& store, ServiceAddresses addresses, std::filesystem::path filesDirectory);

    void handle(const httplib::Request& request, httplib::Response& response);

    // The session token in a request's "Cookie" header field.
    static std::optional<std::string> sessionToken(const httplib::Request& request);

private:
    void getUser(const StoredAccount& account, httplib::Response& response) const;
    void logout(const StoredAccount& account, httplib::Response& response);
    void registerDeviceToken(const StoredAccount& account, const httplib::Request& request,
                             httplib::Response& response);
    void createMetricData(const StoredAccount& account, const httplib::Request& request,
                          httplib::Response& response);
    void updateSettings(const StoredAccount& account, const httplib::Request& request, httplib::Response& response);
    void createEntry(const StoredAccount& account, const httplib::Request& request, httplib::Response& response,
                     bool fromIntents);
    void getJournal(const StoredAccount& account, std::int64_t journalId, httplib::Response& response) const;
    void getIcon(std::int64_t journalId, httplib::Response& response) const;
    void getFile(std::int64_t entryId, std::int64_t index, httplib::Response& response) const;
    void allowWebOrigins(const httplib::Request& request, httplib::Response& response) const;

    Store& store_;
    ServiceAddresses addresses_;
    std::filesystem::path filesDirectory_;
};

}  // namespace standin
