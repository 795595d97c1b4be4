#include "tools/standin/PageFolder.hpp"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace standin {

std::string PageFolder::read(const std::string& file) const {
    std::ifstream in(directory_ / file, std::ios::binary);
    if (!in) {
        throw std::runtime_error((directory_ / file).string() + ": the page cannot be read");
    }
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void PageFolder::serve(httplib::Response& response, const std::string& file, const char* mimeType) const {
    response.set_content(read(file), mimeType);
}

std::string filledHoles(std::string html, const std::map<std::string, std::string>& holes) {
    for (const auto& [name, value] : holes) {
        const std::string hole = "{{" + name + "}}";
        for (auto at = html.find(hole); at != std::string::npos; at = html.find(hole, at + value.size())) {
            html.replace(at, hole.size(), value);
        }
    }
    return html;
}

std::string escapedHTML(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&#39;"; break;
            // The pages' holes are "{{name}}": text typed by someone never forms one.
            case '{': out += "&#123;"; break;
            default: out += c;
        }
    }
    return out;
}

}  // namespace standin
