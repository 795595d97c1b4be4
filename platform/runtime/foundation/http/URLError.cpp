#include "platform/runtime/foundation/http/URLError.hpp"

namespace foundation {

const char* URLError::what() const noexcept {
    switch (code_) {
    case Code::unknown:
        break;
    case Code::cancelled:
        return "The request was cancelled.";
    case Code::badURL:
        return "The address is not a valid URL.";
    case Code::timedOut:
        return "The request timed out.";
    case Code::unsupportedURL:
        return "The address uses a kind of URL that is not supported.";
    case Code::cannotFindHost:
        return "A server with the specified host name could not be found.";
    case Code::cannotConnectToHost:
        return "Could not connect to the server.";
    case Code::networkConnectionLost:
        return "The network connection was lost.";
    case Code::httpTooManyRedirects:
        return "The server redirected the request too many times.";
    case Code::notConnectedToInternet:
        return "The Internet connection appears to be offline.";
    case Code::badServerResponse:
        return "The server sent a reply that could not be understood.";
    case Code::userAuthenticationRequired:
        return "The server requires you to sign in.";
    case Code::cannotDecodeContentData:
        return "The server's reply could not be decoded.";
    case Code::appTransportSecurityRequiresSecureConnection:
        return "The request was redirected from a secure connection to one that is not.";
    case Code::fileDoesNotExist:
        return "The file does not exist.";
    case Code::fileIsDirectory:
        return "The file is a folder.";
    case Code::noPermissionsToReadFile:
        return "You do not have permission to read the file.";
    case Code::dataLengthExceedsMaximum:
        return "The server's reply is larger than the largest reply allowed.";
    case Code::secureConnectionFailed:
        return "A secure connection to the server could not be made.";
    case Code::serverCertificateUntrusted:
        return "The server's certificate is not trusted.";
    case Code::cannotOpenFile:
        return "The file could not be opened.";
    }
    return "An unknown network error occurred.";
}

}  // namespace foundation
