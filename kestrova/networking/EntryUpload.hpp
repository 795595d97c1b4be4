#pragma once

#include "platform/runtime/foundation/core/Data.hpp"
#include "platform/runtime/foundation/core/URL.hpp"
#include "platform/runtime/foundation/core/UUID.hpp"
#include "kestrova/networking/MultipartFormData.hpp"
#include "kestrova/networking/Networking.hpp"

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace kestrova {

// A new entry as the client sends it: the journal, the day it counts for,
// two flags and its blocks in order. Identified by id, which is never sent.
struct Networking::EntryUpload {
    // One piece of the entry's content.
    struct Block {
        // Sent as its UTF-8 bytes, without file name or media type.
        struct Text {
            std::string text;
        };
        // A local file, streamed into the form when it is written, so that
        // large attachments are never held in memory.
        struct FileURL {
            foundation::URL fileURL;
            std::string fileName;
            std::string mimeType;
        };
        // Bytes already in memory, sent as a file.
        struct FileData {
            foundation::Data data;
            std::string fileName;
            std::string mimeType;
        };

        std::variant<Text, FileURL, FileData> content;

        static Block text(std::string text) { return {Text{std::move(text)}}; }
        static Block fileURL(foundation::URL url, std::string fileName, std::string mimeType) {
            return {FileURL{std::move(url), std::move(fileName), std::move(mimeType)}};
        }
        static Block fileData(foundation::Data data, std::string fileName, std::string mimeType) {
            return {FileData{std::move(data), std::move(fileName), std::move(mimeType)}};
        }
    };

    foundation::UUID id{};
    std::int64_t journalId = 0;
    std::string streakDate{};
    bool isPrivate = false;
    bool isPartOfStreak = false;
    std::vector<Block> blocks{};

    // The form the server expects: "journal_id", "streakDate", "private" and
    // "isPartOfStreak", then "block0", "block1", ... by list position. A file
    // block the builder leaves out keeps its number, so the later blocks do
    // not shift and the gap shows which one went missing.
    [[nodiscard]] MultipartFormData multipartFormData() const;
};

}  // namespace kestrova
