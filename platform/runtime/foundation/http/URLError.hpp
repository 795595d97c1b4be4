#pragma once

#include <exception>
#include <memory>
#include <string>

namespace foundation {

// A transfer that failed. The codes carry the numbers that URL-loading
// errors have on the other platform, so logs and error reports read alike
// on both; what() is the text to show the user.
class URLError : public std::exception {
public:
    enum class Code : int {
        unknown = -1,
        cancelled = -999,
        badURL = -1000,
        timedOut = -1001,
        unsupportedURL = -1002,
        cannotFindHost = -1003,
        cannotConnectToHost = -1004,
        networkConnectionLost = -1005,
        httpTooManyRedirects = -1007,
        notConnectedToInternet = -1009,
        badServerResponse = -1011,
        userAuthenticationRequired = -1013,
        cannotDecodeContentData = -1016,
        appTransportSecurityRequiresSecureConnection = -1022,
        fileDoesNotExist = -1100,
        fileIsDirectory = -1101,
        noPermissionsToReadFile = -1102,
        dataLengthExceedsMaximum = -1103,
        secureConnectionFailed = -1200,
        serverCertificateUntrusted = -1202,
        cannotOpenFile = -3000,
    };

    explicit URLError(Code code) noexcept : code_(code) {}
    // An error about one local file, which it names.
    URLError(Code code, std::string failingFilePath)
        : code_(code), failingFilePath_(std::make_shared<const std::string>(std::move(failingFilePath))) {}

    [[nodiscard]] Code code() const noexcept { return code_; }
    [[nodiscard]] int errorCode() const noexcept { return static_cast<int>(code_); }
    [[nodiscard]] const char* what() const noexcept override;
    // The local file the error is about, when it names one.
    [[nodiscard]] const std::string* failingFilePath() const noexcept { return failingFilePath_.get(); }

private:
    Code code_;
    // Shared, so that copying the error cannot throw.
    std::shared_ptr<const std::string> failingFilePath_;
};

}  // namespace foundation
