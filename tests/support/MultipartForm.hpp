#pragma once

#include "tests/support/LoopbackServer.hpp"

#include <optional>
#include <string>
#include <vector>

namespace testsupport {

// One part of a multipart/form-data body as a server should receive it.
struct FormPart {
    std::string name;
    std::string body;
    std::optional<std::string> fileName{};
    std::optional<std::string> mimeType{};
};

// The exact bytes of a form of these parts with this boundary: each part's
// Content-Disposition, then its Content-Type when it has one, a blank line
// and its body.
std::string encodedForm(const std::string& boundary, const std::vector<FormPart>& parts);

// The boundary that the request's multipart Content-Type names; a test
// failure and empty text when it names none.
std::string boundaryOf(const RecordedRequest& request);

}  // namespace testsupport
