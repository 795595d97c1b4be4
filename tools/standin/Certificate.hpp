#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace standin {

// The stand-in's TLS identity: a self-signed certificate for the names it
// serves and its private key, kept in the state directory. Made once, on the
// first run, and reused afterwards so that a trust setting made for it stays
// valid across restarts, as long as it covers the names served.
struct Certificate {
    std::filesystem::path certificateFile;
    std::filesystem::path keyFile;

    // The pair in the directory, made there first when either file is
    // missing, and made anew (saying so on standard error) when the stored
    // certificate cannot be read or does not cover every one of the names.
    // The key is readable by its owner alone. Throws std::runtime_error
    // naming the file when it cannot be made.
    static Certificate ensure(const std::filesystem::path& stateDirectory, const std::vector<std::string>& hostNames);
};

}  // namespace standin
