#pragma once

#include <httplib.h>

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <utility>

namespace standin {

// The folder of the pages, their style sheet and script: files whose text
// has {{name}} holes that the server fills in.
class PageFolder {
public:
    explicit PageFolder(std::filesystem::path directory) : directory_(std::move(directory)) {}

    // Throws std::runtime_error naming a file that cannot be read.
    [[nodiscard]] std::string read(const std::string& file) const;
    // The file as it is.
    void serve(httplib::Response& response, const std::string& file, const char* mimeType) const;

private:
    std::filesystem::path directory_;
};

// The text with every {{name}} of the holes filled in; other holes stay.
std::string filledHoles(std::string html, const std::map<std::string, std::string>& holes);

// Text shown as it is, inside an element or a quoted attribute.
std::string escapedHTML(std::string_view text);

}  // namespace standin
