#include "tests/kestrova/model/RecordCoding.hpp"

namespace kestrova::fixtures {

std::string withFields(std::string_view object, std::string_view fields) {
    const auto close = object.rfind('}');
    std::string json(object.substr(0, close));
    if (json[json.find_last_not_of(" \n")] != '{') {
        json += ',';
    }
    return json.append(fields).append(object.substr(close));
}

std::string objectOf(const std::vector<std::string_view>& fields) {
    std::string json = "{";
    for (const auto field : fields) {
        if (json.size() > 1) {
            json += ',';
        }
        json.append(field);
    }
    return json + "}";
}

}  // namespace kestrova::fixtures
