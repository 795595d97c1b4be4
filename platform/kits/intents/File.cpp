#include "platform/kits/intents/File.hpp"

#include "platform/kits/intents/KeyedArchiver.hpp"
#include "platform/kits/intents/KeyedUnarchiver.hpp"

#include <fstream>
#include <iterator>
#include <vector>

namespace intents {

File::File(foundation::Data data, std::string filename, std::optional<std::string> typeIdentifier)
    : data_(std::move(data)), filename_(std::move(filename)), typeIdentifier_(std::move(typeIdentifier)) {}

File::File(foundation::URL fileURL, std::string filename, std::optional<std::string> typeIdentifier)
    : fileURL_(std::move(fileURL)), filename_(std::move(filename)), typeIdentifier_(std::move(typeIdentifier)) {}

File::File(const KeyedUnarchiver& coder)
    : data_(coder.decodeData("data")),
      filename_(coder.decodeString("filename").value_or("")),
      typeIdentifier_(coder.decodeString("typeIdentifier")) {
    if (const auto text = coder.decodeString("fileURL")) {
        auto url = foundation::URL::fromString(*text);
        if (!url || !url->isFileURL()) {
            throw ArchiveError("the archived file's URL \"" + *text + "\" is no file URL");
        }
        fileURL_ = std::move(url);
    }
    if (!data_ && !fileURL_) {
        data_.emplace();
    }
}

foundation::Data File::data() const {
    if (data_) {
        return *data_;
    }
    std::ifstream stream(fileURL_->path(), std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
    return foundation::Data(std::move(bytes));
}

void File::encode(KeyedArchiver& coder) const {
    coder.encodeString("filename", filename_);
    coder.encodeString("typeIdentifier", typeIdentifier_);
    if (fileURL_) {
        coder.encodeString("fileURL", fileURL_->absoluteString());
    } else {
        coder.encodeData("data", *data_);
    }
}

}  // namespace intents
