#include "platform/kits/ui/TextView.hpp"

#include "platform/kits/ui/Node.hpp"

#include <string_view>

namespace ui {

// No translation tables ship yet, so a key shows as written; what remains is filling in the
// placeholders in order.
std::string LocalizedStringKey::resolved() const {
    std::string out;
    std::size_t next = 0;
    const std::string_view key = key_;
    for (std::size_t i = 0; i < key.size(); ++i) {
        if (key[i] != '%') {
            out += key[i];
            continue;
        }
        if (key.substr(i, 2) == "%%") {
            out += '%';
            ++i;
            continue;
        }
        const bool integer = key.substr(i, 4) == "%lld" || key.substr(i, 3) == "%ld" || key.substr(i, 2) == "%d";
        const bool object = key.substr(i, 2) == "%@";
        if ((!integer && !object) || next >= arguments_.size()) {
            out += key[i];
            continue;
        }
        const Argument& argument = arguments_[next++];
        if (const auto* number = std::get_if<std::int64_t>(&argument)) {
            out += std::to_string(*number);
        } else {
            out += std::get<std::string>(argument);
        }
        i += key.substr(i, 4) == "%lld" ? 3 : key.substr(i, 3) == "%ld" ? 2 : 1;
    }
    return out;
}

Text::Text(const LocalizedStringKey& key) { runs_.push_back(Run{key.resolved(), {}, {}, {}}); }

Text Text::verbatim(std::string text) {
    Text result;
    result.runs_.push_back(Run{std::move(text), {}, {}, {}});
    return result;
}

Text Text::font(Font font) const {
    Text copy = *this;
    for (Run& run : copy.runs_) {
        if (!run.font) {
            run.font = font;
        }
    }
    return copy;
}

Text Text::fontWeight(Font::Weight weight) const {
    Text copy = *this;
    for (Run& run : copy.runs_) {
        if (!run.weight) {
            run.weight = weight;
        }
    }
    return copy;
}

Text Text::foregroundColor(Color color) const {
    Text copy = *this;
    for (Run& run : copy.runs_) {
        if (!run.color) {
            run.color = color;
        }
    }
    return copy;
}

Text operator+(const Text& left, const Text& right) {
    Text joined = left;
    joined.runs_.insert(joined.runs_.end(), right.runs_.begin(), right.runs_.end());
    return joined;
}

std::string Text::string() const {
    std::string whole;
    for (const Run& run : runs_) {
        whole += run.text;
    }
    return whole;
}

Text::operator View() const {
    node::Text payload;
    for (const Run& run : runs_) {
        payload.runs.push_back(node::TextRun{run.text, run.font, run.weight, run.color});
    }
    return View(std::make_shared<const Node>(Node{std::move(payload), {}}));
}

}  // namespace ui
