#include "platform/kits/updater/Version.hpp"

#include <cctype>
#include <string>
#include <vector>

namespace updater {

namespace {

// The version's parts: runs of digits and runs of letters; separators only separate.
std::vector<std::string> parts(std::string_view version) {
    std::vector<std::string> result;
    std::size_t i = 0;
    while (i < version.size()) {
        const auto c = static_cast<unsigned char>(version[i]);
        if (std::isdigit(c) != 0 || std::isalpha(c) != 0) {
            const bool digits = std::isdigit(c) != 0;
            std::size_t end = i;
            while (end < version.size() &&
                   (digits ? std::isdigit(static_cast<unsigned char>(version[end])) != 0
                           : std::isalpha(static_cast<unsigned char>(version[end])) != 0)) {
                ++end;
            }
            result.emplace_back(version.substr(i, end - i));
            i = end;
        } else {
            ++i;
        }
    }
    return result;
}

bool isNumber(const std::string& part) {
    return !part.empty() && std::isdigit(static_cast<unsigned char>(part[0])) != 0;
}

// Numbers of any length, without parsing them into a type that could overflow.
int compareNumbers(const std::string& a, const std::string& b) {
    const auto significant = [](const std::string& s) {
        const auto first = s.find_first_not_of('0');
        return first == std::string::npos ? std::string() : s.substr(first);
    };
    const std::string x = significant(a);
    const std::string y = significant(b);
    if (x.size() != y.size()) {
        return x.size() < y.size() ? -1 : 1;
    }
    return x.compare(y) < 0 ? -1 : (x == y ? 0 : 1);
}

}  // namespace

int compareVersions(std::string_view a, std::string_view b) {
    const auto left = parts(a);
    const auto right = parts(b);
    const std::size_t count = std::max(left.size(), right.size());
    for (std::size_t i = 0; i < count; ++i) {
        const std::string x = i < left.size() ? left[i] : "0";
        const std::string y = i < right.size() ? right[i] : "0";
        const bool xNumber = isNumber(x);
        const bool yNumber = isNumber(y);
        int order = 0;
        if (xNumber && yNumber) {
            order = compareNumbers(x, y);
        } else if (xNumber != yNumber) {
            // A pre-release ("2.0b1") comes before the release ("2.0.1" or "2.0").
            order = xNumber ? 1 : -1;
        } else {
            order = x.compare(y) < 0 ? -1 : (x == y ? 0 : 1);
        }
        if (order != 0) {
            return order;
        }
    }
    return 0;
}

}  // namespace updater
