#include "platform/httpclient/MultipartFormData.hpp"

#include <filesystem>

namespace httpclient {

void MultipartFormData::append(foundation::Data data, std::string name, std::optional<std::string> fileName,
                               std::optional<std::string> mimeType) {
    parts_.push_back(BodyPart{std::move(name), std::move(fileName), std::move(mimeType), std::move(data)});
}

void MultipartFormData::append(foundation::URL fileURL, std::string name, std::optional<std::string> fileName,
                               std::optional<std::string> mimeType) {
    parts_.push_back(BodyPart{std::move(name), std::move(fileName), std::move(mimeType), std::move(fileURL)});
}

std::uint64_t MultipartFormData::contentLength() const {
    std::uint64_t length = 0;
    for (const auto& part : parts_) {
        if (const auto* data = std::get_if<foundation::Data>(&part.contents)) {
            length += data->size();
        } else {
            std::error_code error;
            const auto size = std::filesystem::file_size(std::get<foundation::URL>(part.contents).path(), error);
            length += error ? 0 : size;
        }
    }
    return length;
}

}  // namespace httpclient
