#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace kestrova {

// What an API call reports when the server's reply is not what was asked
// for. Transport failures are not among them: they come as the session's
// URLError. `what()` is the text shown to the user.
class KestrovaAPIError : public std::exception {
public:
    enum class Case { badRequest, unauthorized, paymentRequired, forbidden, notFound, serverError, decodingError, noResponse };

    static KestrovaAPIError badRequest(std::string message) { return {Case::badRequest, std::move(message), 0}; }
    static KestrovaAPIError unauthorized(std::string message) { return {Case::unauthorized, std::move(message), 0}; }
    static KestrovaAPIError paymentRequired(std::string message) {
        return {Case::paymentRequired, std::move(message), 0};
    }
    static KestrovaAPIError forbidden(std::string message) { return {Case::forbidden, std::move(message), 0}; }
    static KestrovaAPIError notFound(std::string message) { return {Case::notFound, std::move(message), 0}; }
    static KestrovaAPIError serverError(std::int64_t code);
    static KestrovaAPIError decodingError();
    static KestrovaAPIError noResponse();

    [[nodiscard]] Case kind() const noexcept { return case_; }
    // The server's message of the first five cases; empty for the others.
    [[nodiscard]] const std::string& message() const noexcept { return message_; }
    // The HTTP status of serverError; 0 for the others.
    [[nodiscard]] std::int64_t code() const noexcept { return code_; }

    [[nodiscard]] const std::string& errorDescription() const noexcept { return description_; }
    [[nodiscard]] const char* what() const noexcept override { return description_.c_str(); }

private:
    KestrovaAPIError(Case kind, std::string message, std::int64_t code);

    Case case_;
    std::string message_;
    std::int64_t code_;
    std::string description_;
};

}  // namespace kestrova
