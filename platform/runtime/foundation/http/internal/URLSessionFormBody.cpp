#include "platform/runtime/foundation/http/internal/URLSessionFormBody.hpp"

#include "platform/runtime/foundation/core/FormDataHeaderEscaping.hpp"
#include "platform/runtime/foundation/http/URLError.hpp"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace foundation {
namespace {

struct ListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

// A media type goes to curl as C text: a NUL would cut it short, and a line
// break would end the header line early.
std::string oneLine(const std::string& text) {
    std::string result;
    for (const char c : text) {
        if (c != '\r' && c != '\n' && c != '\0') {
            result += c;
        }
    }
    return result;
}

// One entry for both lines: curl would move a Content-Type entry of its own
// accord ahead of the disposition, and the form's order is ours.
std::string partHeaders(const MultipartFormBody::BodyPart& part) {
    std::string headers =
        "Content-Disposition: " + FormDataHeaderEscaping::contentDisposition(part.name, part.fileName);
    if (part.mimeType) {
        headers += "\r\nContent-Type: " + oneLine(*part.mimeType);
    }
    return headers;
}

std::vector<char> wholeFile(URLSessionLocalFile& file, const std::string& path) {
    std::vector<char> bytes(static_cast<std::size_t>(file.size()));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const auto count = file.read(bytes.data() + done, bytes.size() - done);
        if (!count || *count == 0) {
            throw URLError(URLError::Code::cannotOpenFile, path);
        }
        done += *count;
    }
    return bytes;
}

}  // namespace

URLSessionFormBody::URLSessionFormBody(CURL* handle, const MultipartFormBody& form, std::uint64_t memoryThreshold)
    : mime_(curl_mime_init(handle)) {
    if (!mime_) {
        throw std::bad_alloc();
    }
    const bool inMemory = form.contentLength() < memoryThreshold;
    for (const auto& part : form.bodyParts()) {
        addPart(part, inMemory);
    }
}

bool URLSessionFormBody::readFailed() const noexcept {
    return std::any_of(sources_.begin(), sources_.end(), [](const Source& source) { return source.failed; });
}

void URLSessionFormBody::addPart(const MultipartFormBody::BodyPart& part, bool inMemory) {
    curl_mimepart* const mimePart = curl_mime_addpart(mime_.get());
    if (mimePart == nullptr) {
        throw std::bad_alloc();
    }
    std::unique_ptr<curl_slist, ListDeleter> headers(curl_slist_append(nullptr, partHeaders(part).c_str()));
    if (!headers) {
        throw std::bad_alloc();
    }
    curl_mime_headers(mimePart, headers.release(), 1);

    if (const auto* data = std::get_if<Data>(&part.contents)) {
        if (inMemory) {
            curl_mime_data(mimePart, data->empty() ? "" : reinterpret_cast<const char*>(data->data()), data->size());
            return;
        }
        Source& source = sources_.emplace_back();
        source.bytes = data;
        source.size = static_cast<curl_off_t>(data->size());
        curl_mime_data_cb(mimePart, source.size, &readSource, &seekSource, nullptr, &source);
        return;
    }
    const URL& fileURL = std::get<URL>(part.contents);
    std::unique_ptr<URLSessionLocalFile> file;
    try {
        file = std::make_unique<URLSessionLocalFile>(fileURL);
    } catch (const URLError& error) {
        // Of a form's several files, the caller is told which one.
        throw URLError(error.code(), fileURL.path());
    }
    if (inMemory) {
        // Small enough to hand over whole: read it now, as the in-memory
        // encoding of the form would.
        const std::vector<char> bytes = wholeFile(*file, fileURL.path());
        curl_mime_data(mimePart, bytes.empty() ? "" : bytes.data(), bytes.size());
        return;
    }
    Source& source = sources_.emplace_back();
    source.size = file->size();
    source.file = std::move(file);
    curl_mime_data_cb(mimePart, source.size, &readSource, &seekSource, nullptr, &source);
}

std::size_t URLSessionFormBody::readSource(char* buffer, std::size_t size, std::size_t count, void* opaque) noexcept {
    auto& source = *static_cast<Source*>(opaque);
    const auto wanted = static_cast<curl_off_t>(size * count);
    const auto length = static_cast<std::size_t>(std::min(wanted, source.size - source.offset));
    if (length == 0) {
        return 0;
    }
    if (source.bytes != nullptr) {
        std::memcpy(buffer, source.bytes->data() + source.offset, length);
        source.offset += static_cast<curl_off_t>(length);
        return length;
    }
    const auto read = source.file->read(buffer, length);
    if (!read || *read == 0) {
        // A file that shrank or failed mid-way would send a form shorter
        // than announced: end the transfer as failed instead.
        source.failed = true;
        return CURL_READFUNC_ABORT;
    }
    source.offset += static_cast<curl_off_t>(*read);
    return *read;
}

int URLSessionFormBody::seekSource(void* opaque, curl_off_t offset, int origin) noexcept {
    auto& source = *static_cast<Source*>(opaque);
    if (origin != SEEK_SET || offset < 0 || offset > source.size) {
        return CURL_SEEKFUNC_CANTSEEK;
    }
    if (source.file && !source.file->seek(offset)) {
        return CURL_SEEKFUNC_CANTSEEK;
    }
    source.offset = offset;
    return CURL_SEEKFUNC_OK;
}

}  // namespace foundation
