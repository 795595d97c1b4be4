#include "platform/runtime/foundation/http/URLError.hpp"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace foundation {
namespace {

// The numbers are the other platform's, and logs and reports compare them.
TEST(URLError, CarriesThePlatformNumbersAndATextForEachCode) {
    struct Case {
        URLError::Code code;
        int number;
    };
    const Case cases[] = {
        {URLError::Code::unknown, -1},
        {URLError::Code::cancelled, -999},
        {URLError::Code::badURL, -1000},
        {URLError::Code::timedOut, -1001},
        {URLError::Code::unsupportedURL, -1002},
        {URLError::Code::cannotFindHost, -1003},
        {URLError::Code::cannotConnectToHost, -1004},
        {URLError::Code::networkConnectionLost, -1005},
        {URLError::Code::httpTooManyRedirects, -1007},
        {URLError::Code::notConnectedToInternet, -1009},
        {URLError::Code::badServerResponse, -1011},
        {URLError::Code::userAuthenticationRequired, -1013},
        {URLError::Code::cannotDecodeContentData, -1016},
        {URLError::Code::appTransportSecurityRequiresSecureConnection, -1022},
        {URLError::Code::fileDoesNotExist, -1100},
        {URLError::Code::fileIsDirectory, -1101},
        {URLError::Code::noPermissionsToReadFile, -1102},
        {URLError::Code::dataLengthExceedsMaximum, -1103},
        {URLError::Code::secureConnectionFailed, -1200},
        {URLError::Code::serverCertificateUntrusted, -1202},
        {URLError::Code::cannotOpenFile, -3000},
    };
    std::set<std::string> texts;
    for (const auto& c : cases) {
        const URLError error(c.code);
        EXPECT_EQ(error.errorCode(), c.number);
        EXPECT_EQ(error.code(), c.code);
        texts.insert(error.what());
    }
    // Each code tells the user something of its own.
    EXPECT_EQ(texts.size(), std::size(cases));
}

}  // namespace
}  // namespace foundation
