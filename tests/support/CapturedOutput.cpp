#include "tests/support/CapturedOutput.hpp"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>

namespace testsupport {
namespace {

void flushAll() {
    std::fflush(stdout);
    std::fflush(stderr);
    std::cout.flush();
    std::cerr.flush();
}

}  // namespace

CapturedOutput::CapturedOutput(int descriptor) : descriptor_(descriptor) {
    flushAll();
    std::string pattern = (std::filesystem::temp_directory_path() / "kestrova-output-XXXXXX").string();
    file_ = ::mkstemp(pattern.data());
    if (file_ < 0) {
        ADD_FAILURE() << "cannot create a file for the captured output";
        return;
    }
    ::unlink(pattern.c_str());
    saved_ = ::dup(descriptor_);
    ::dup2(file_, descriptor_);
}

CapturedOutput::~CapturedOutput() {
    if (file_ < 0) {
        return;
    }
    flushAll();
    ::dup2(saved_, descriptor_);
    ::close(saved_);
    ::close(file_);
}

std::string CapturedOutput::text() const {
    flushAll();
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
