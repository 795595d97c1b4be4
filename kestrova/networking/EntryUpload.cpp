#include "kestrova/networking/EntryUpload.hpp"

#include <string_view>

namespace kestrova {
namespace {

foundation::Data utf8(std::string_view text) { return foundation::Data(text); }

std::string_view flag(bool value) { return value ? "true" : "false"; }

// Appends one block under its name, in the way its kind asks for.
struct BlockAppender {
    MultipartFormData& form;
    const std::string& name;

    void operator()(const Networking::EntryUpload::Block::Text& block) const { form.append(utf8(block.text), name); }
    void operator()(const Networking::EntryUpload::Block::FileURL& block) const {
        form.append(block.fileURL, name, block.fileName, block.mimeType);
    }
    void operator()(const Networking::EntryUpload::Block::FileData& block) const {
        form.append(block.data, name, block.fileName, block.mimeType);
    }
};

}  // namespace

MultipartFormData Networking::EntryUpload::multipartFormData() const {
    MultipartFormData form;
    form.append(utf8(std::to_string(journalId)), "journal_id");
    form.append(utf8(streakDate), "streakDate");
    form.append(utf8(flag(isPrivate)), "private");
    form.append(utf8(flag(isPartOfStreak)), "isPartOfStreak");
    for (std::size_t position = 0; position < blocks.size(); ++position) {
        const std::string name = "block" + std::to_string(position);
        std::visit(BlockAppender{form, name}, blocks[position].content);
    }
    return form;
}

}  // namespace kestrova
