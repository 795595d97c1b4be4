#include "tests/support/CapturedOutput.hpp"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>

namespace testsupport {

CapturedOutput::CapturedOutput() {
    std::fflush(stdout);
    std::cout.flush();
    std::string pattern = (std::filesystem::temp_directory_path() / "kestrova-output-XXXXXX").string();
    file_ = ::mkstemp(pattern.data());
    if (file_ < 0) {
        ADD_FAILURE() << "cannot create a file for the captured output";
        return;
    }
    ::unlink(pattern.c_str());
    saved_ = ::dup(STDOUT_FILENO);
    ::dup2(file_, STDOUT_FILENO);
}

CapturedOutput::~CapturedOutput() {
    if (file_ < 0) {
        return;
    }
    std::fflush(stdout);
    std::cout.flush();
    ::dup2(saved_, STDOUT_FILENO);
    ::close(saved_);
    ::close(file_);
}

std::string CapturedOutput::text() const {
    std::fflush(stdout);
    std::cout.flush();
    std::string text;
    if (file_ < 0) {
        return text;
    }
    char buffer[4096];
    off_t offset = 0;
    for (;;) {
        const ssize_t read = ::pread(file_, buffer, sizeof buffer, offset);
        if (read <= 0) {
            break;
        }
        text.append(buffer, static_cast<std::size_t>(read));
        offset += read;
    }
    return text;
}

}  // namespace testsupport
