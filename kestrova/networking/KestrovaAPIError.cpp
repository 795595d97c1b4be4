#include "kestrova/networking/KestrovaAPIError.hpp"

namespace kestrova {
namespace {

std::string describe(KestrovaAPIError::Case kind, const std::string& message, std::int64_t code) {
    switch (kind) {
        case KestrovaAPIError::Case::serverError:
            return "A server error with the code " + std::to_string(code) + " occurred.";
        case KestrovaAPIError::Case::decodingError:
            return "There was an error when decoding the response.";
        case KestrovaAPIError::Case::noResponse:
            return "The server did not respond.";
        case KestrovaAPIError::Case::badRequest:
        case KestrovaAPIError::Case::unauthorized:
        case KestrovaAPIError::Case::paymentRequired:
        case KestrovaAPIError::Case::forbidden:
        case KestrovaAPIError::Case::notFound:
            break;
    }
    return message;
}

}  // namespace

KestrovaAPIError::KestrovaAPIError(Case kind, std::string message, std::int64_t code)
    : case_(kind), message_(std::move(message)), code_(code), description_(describe(case_, message_, code_)) {}

KestrovaAPIError KestrovaAPIError::serverError(std::int64_t code) {
    return {Case::serverError, {}, code};
}

KestrovaAPIError KestrovaAPIError::decodingError() {
    return {Case::decodingError, {}, 0};
}

KestrovaAPIError KestrovaAPIError::noResponse() {
    return {Case::noResponse, {}, 0};
}

}  // namespace kestrova
