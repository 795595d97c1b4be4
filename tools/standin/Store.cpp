#include "tools/standin/Store.hpp"

#include "platform/runtime/foundation/coding/JSONDecoder.hpp"
#include "platform/runtime/foundation/coding/JSONEncoder.hpp"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace standin {

Store::Store(std::filesystem::path file) : file_(std::move(file)) {
    std::error_code fault;
    if (!std::filesystem::exists(file_, fault) && !fault) {
        data_ = StandinData::demo();
        write(data_);
        return;
    }
    std::ifstream in(file_, std::ios::binary);
    if (!in) {
        throw Error(file_.string() + ": the data file cannot be read");
    }
    std::ostringstream contents;
    contents << in.rdbuf();
    try {
        data_ = foundation::JSONDecoder().decode<StandinData>(contents.str());
    } catch (const std::exception& error) {
        throw Error(file_.string() + ": the data file is damaged and was left as it is (" + error.what() +
                    "); move it away to start again with the demo user");
    }
}

void Store::commit(StandinData changed) {
    write(changed);
    data_ = std::move(changed);
}

void Store::write(const StandinData& data) const {
    const auto bytes = foundation::JSONEncoder().encode(data);
    const std::string partial = file_.string() + ".partial";
    const int descriptor = ::open(partial.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    bool written = descriptor >= 0;
    const auto view = bytes.view();
    for (std::size_t offset = 0; written && offset < view.size();) {
        const auto count = ::write(descriptor, view.data() + offset, view.size() - offset);
        written = count > 0 || (count < 0 && errno == EINTR);
        offset += count > 0 ? static_cast<std::size_t>(count) : 0;
    }
    const int fault = written ? 0 : errno;
    written = written && ::fsync(descriptor) == 0;
    if (descriptor >= 0 && ::close(descriptor) != 0) {
        written = false;
    }
    if (!written || std::rename(partial.c_str(), file_.c_str()) != 0) {
        const std::string reason = std::strerror(fault != 0 ? fault : errno);
        ::unlink(partial.c_str());
        throw Error(file_.string() + ": the data file cannot be written: " + reason);
    }
}

}  // namespace standin
