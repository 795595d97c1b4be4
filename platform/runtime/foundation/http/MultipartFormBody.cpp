#include "platform/runtime/foundation/http/MultipartFormBody.hpp"

#include <filesystem>

namespace foundation {

void MultipartFormBody::append(Data data, std::string name, std::optional<std::string> fileName,
                               std::optional<std::string> mimeType) {
    parts_.push_back(BodyPart{std::move(name), std::move(fileName), std::move(mimeType), std::move(data)});
}

void MultipartFormBody::append(URL fileURL, std::string name, std::optional<std::string> fileName,
                               std::optional<std::string> mimeType) {
    parts_.push_back(BodyPart{std::move(name), std::move(fileName), std::move(mimeType), std::move(fileURL)});
}

std::uint64_t MultipartFormBody::contentLength() const {
    std::uint64_t length = 0;
    for (const auto& part : parts_) {
        if (const auto* data = std::get_if<Data>(&part.contents)) {
            length += data->size();
        } else {
            std::error_code error;
            const auto size = std::filesystem::file_size(std::get<URL>(part.contents).path(), error);
            length += error ? 0 : size;
        }
    }
    return length;
}

}  // namespace foundation
