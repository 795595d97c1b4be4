#include "tests/support/MultipartForm.hpp"

#include <gtest/gtest.h>

namespace testsupport {

std::string encodedForm(const std::string& boundary, const std::vector<FormPart>& parts) {
    std::string form;
    for (const auto& part : parts) {
        form += "--" + boundary + "\r\n";
        form += "Content-Disposition: form-data; name=\"" + part.name + "\"";
        if (part.fileName) {
            form += "; filename=\"" + *part.fileName + "\"";
        }
        form += "\r\n";
        if (part.mimeType) {
            form += "Content-Type: " + *part.mimeType + "\r\n";
        }
        form += "\r\n" + part.body + "\r\n";
    }
    form += "--" + boundary + "--\r\n";
    return form;
}

std::string boundaryOf(const RecordedRequest& request) {
    constexpr std::string_view prefix = "multipart/form-data; boundary=";
    const auto type = request.header("Content-Type").value_or("");
    if (!type.starts_with(prefix)) {
        ADD_FAILURE() << "no multipart Content-Type: " << type;
        return {};
    }
    return type.substr(prefix.size());
}

}  // namespace testsupport
