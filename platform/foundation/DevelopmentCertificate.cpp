#include "platform/foundation/DevelopmentCertificate.hpp"

#include "platform/foundation/DevelopmentCertificateOverride.hpp"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace foundation {
namespace {

[[noreturn]] void stop(const std::string& path, const std::string& reason) {
    std::fprintf(stderr, "kestrova: KESTROVA_DEV_CERTIFICATE is set to \"%s\", %s\n", path.c_str(), reason.c_str());
    std::fflush(stderr);
    std::_Exit(EXIT_FAILURE);
}

// A file that cannot be used would otherwise show only as TLS failures,
// later and far from their cause.
const std::string& checked(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        stop(path, std::string("which cannot be read: ") + std::strerror(errno));
    }
    std::error_code fault;
    if (!std::filesystem::is_regular_file(path, fault)) {
        stop(path, "which is no file");
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (text.find("-----BEGIN CERTIFICATE-----") == std::string::npos) {
        stop(path, "which holds no PEM certificate");
    }
    return path;
}

}  // namespace

std::optional<std::string> DevelopmentCertificate::path() {
    if (auto chosen = DevelopmentCertificateOverride::current()) {
        return checked(*chosen);
    }
    static const std::optional<std::string> fromEnvironment = []() -> std::optional<std::string> {
        const char* value = std::getenv("KESTROVA_DEV_CERTIFICATE");
        if (value == nullptr || *value == '\0') {
            return std::nullopt;
        }
        return checked(value);
    }();
    return fromEnvironment;
}

}  // namespace foundation
