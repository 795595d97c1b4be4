#pragma once

#include <string>

namespace testsupport {

// Sends the process's standard output to a temporary file for as long as it lives, so that a test can
// read the lines the code under test printed. Output from before is flushed first, and standard
// output is put back at the end.
class CapturedOutput {
public:
    CapturedOutput();
    ~CapturedOutput();
    CapturedOutput(const CapturedOutput&) = delete;
    CapturedOutput& operator=(const CapturedOutput&) = delete;

    // Everything printed since the capture began.
    [[nodiscard]] std::string text() const;

private:
    int saved_ = -1;
    int file_ = -1;
};

}  // namespace testsupport
