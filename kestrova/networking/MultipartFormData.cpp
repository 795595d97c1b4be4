#include "kestrova/networking/MultipartFormData.hpp"

#include "platform/runtime/foundation/core/FileManagerError.hpp"
#include "platform/runtime/foundation/core/FormDataHeaderEscaping.hpp"
#include "platform/runtime/foundation/core/OutputStream.hpp"
#include "platform/runtime/foundation/core/StreamError.hpp"
#include "platform/runtime/foundation/core/UUID.hpp"

#include <array>
#include <cerrno>
#include <iostream>

namespace kestrova {
namespace {

constexpr char lineBreak[] = "\r\n";
// As much as one kernel copy may take on; a file block of any size takes a
// handful of calls.
constexpr std::size_t kernelCopyLength = std::size_t{1} << 30;

std::vector<MultipartFormData::HTTPHeader> partHeaders(std::string_view name,
                                                       std::optional<std::string_view> fileName,
                                                       std::optional<std::string_view> mimeType) {
    std::vector<MultipartFormData::HTTPHeader> headers{
        {"Content-Disposition", foundation::FormDataHeaderEscaping::contentDisposition(name, fileName)}};
    if (mimeType) {
        headers.push_back({"Content-Type", foundation::FormDataHeaderEscaping::lineValue(*mimeType)});
    }
    return headers;
}

std::string headerBlock(const std::vector<MultipartFormData::HTTPHeader>& headers) {
    std::string block;
    for (const auto& header : headers) {
        block.append(header.name).append(": ").append(header.value).append(lineBreak);
    }
    block.append(lineBreak);
    return block;
}

void throwIfFailed(const foundation::OutputStream& output) {
    if (const auto& error = output.streamError()) {
        throw *error;
    }
}

void writeAll(foundation::OutputStream& output, const std::uint8_t* bytes, std::size_t count) {
    std::size_t written = 0;
    while (written < count && output.hasSpaceAvailable()) {
        const auto accepted = output.write(bytes + written, count - written);
        throwIfFailed(output);
        written += static_cast<std::size_t>(accepted);
    }
    // A stream that stops taking bytes without saying why would otherwise
    // leave a body with a hole in it that looks complete.
    if (written < count) {
        throw foundation::StreamError(EIO, "the form's file took no more bytes");
    }
}

void writeAll(foundation::OutputStream& output, std::string_view text) {
    writeAll(output, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

// The lines that open and close parts.
struct Delimiters {
    explicit Delimiters(const std::string& boundary)
        : initial("--" + boundary + lineBreak), encapsulated(lineBreak + initial),
          closing(lineBreak + ("--" + boundary) + "--" + lineBreak) {}

    [[nodiscard]] const std::string& opening(const MultipartFormData::BodyPart& part) const {
        return part.hasInitialBoundary() ? initial : encapsulated;
    }

    std::string initial;
    std::string encapsulated;
    std::string closing;
};

// What the form comes to when every part's body is as long as it was when
// the part was added.
std::int64_t expectedLength(const std::vector<MultipartFormData::BodyPart>& parts, const Delimiters& delimiters) {
    std::int64_t length = 0;
    for (const auto& part : parts) {
        length += static_cast<std::int64_t>(delimiters.opening(part).size() + headerBlock(part.headers()).size()) +
                  part.bodyContentLength();
        if (part.hasFinalBoundary()) {
            length += static_cast<std::int64_t>(delimiters.closing.size());
        }
    }
    return length;
}

void writeBody(MultipartFormData::BodyPart& part, foundation::OutputStream& output) {
    auto& input = part.bodyStream();
    input.open();
    // A file's bytes are copied by the kernel, never passing through this
    // process; the buffer copies the rest (bytes in memory, files the kernel
    // cannot copy), and meets the end or a failure.
    while (input.hasBytesAvailable() && output.copyFrom(input, kernelCopyLength)) {
    }
    std::array<std::uint8_t, MultipartFormData::streamBufferSize> buffer{};
    try {
        while (input.hasBytesAvailable()) {
            const auto count = input.read(buffer.data(), buffer.size());
            if (const auto& error = input.streamError()) {
                throw *error;
            }
            if (count <= 0) {
                break;
            }
            writeAll(output, buffer.data(), static_cast<std::size_t>(count));
        }
    } catch (const foundation::StreamError&) {
        input.close();
        throw;
    }
    input.close();
}

}  // namespace

MultipartFormData::MultipartFormData()
    : boundary_(foundation::UUID().uuidString()), fileManager_(&foundation::FileManager::defaultManager()) {}

void MultipartFormData::append(foundation::Data data, std::string_view name,
                               std::optional<std::string_view> fileName,
                               std::optional<std::string_view> mimeType) {
    auto headers = partHeaders(name, fileName, mimeType);
    const auto length = static_cast<std::int64_t>(data.size());
    bodyParts_.emplace_back(std::move(headers), foundation::InputStream(std::move(data)), length);
}

void MultipartFormData::append(const foundation::URL& fileURL, std::string_view name,
                               std::string_view fileName, std::string_view mimeType) {
    auto headers = partHeaders(name, fileName, mimeType);
    if (!fileURL.isFileURL() || !fileManager_->checkPromisedItemIsReachable(fileURL)) {
        return;
    }
    const std::string path = fileURL.path();
    bool isDirectory = false;
    if (!fileManager_->fileExists(path, &isDirectory) || isDirectory) {
        return;
    }
    std::optional<std::int64_t> size;
    try {
        size = fileManager_->attributesOfItem(path).size;
    } catch (const foundation::FileManagerError& error) {
        std::cout << error.what() << std::endl;
        return;
    }
    if (!size) {
        return;
    }
    auto stream = foundation::InputStream::fromFile(fileURL);
    if (!stream) {
        return;
    }
    bodyParts_.emplace_back(std::move(headers), std::move(*stream), *size);
}

void MultipartFormData::writeEncodedData(const foundation::URL& fileURL) {
    auto output = foundation::OutputStream::toFile(fileURL);
    if (!output) {
        return;
    }
    output->open();
    throwIfFailed(*output);
    if (!bodyParts_.empty()) {
        bodyParts_.front().setHasInitialBoundary(true);
        bodyParts_.back().setHasFinalBoundary(true);
    }
    const Delimiters delimiters(boundary_);
    // A file that changed since it was added only makes the guess wrong,
    // never the form.
    output->reserve(expectedLength(bodyParts_, delimiters));
    try {
        for (auto& part : bodyParts_) {
            writeAll(*output, delimiters.opening(part));
            writeAll(*output, headerBlock(part.headers()));
            writeBody(part, *output);
            if (part.hasFinalBoundary()) {
                writeAll(*output, delimiters.closing);
            }
        }
    } catch (const foundation::StreamError&) {
        output->close();
        throw;
    }
    output->close();
    throwIfFailed(*output);
}

}  // namespace kestrova
