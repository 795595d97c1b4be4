#pragma once

#include <string>

namespace testsupport {

// Sends the process's standard output (or standard error, with the descriptor 2) to a temporary file
// for as long as it lives, so that a test can read the lines the code under test printed. Output from
// before is flushed first, and the stream is put back at the end.
class CapturedOutput {
public:
    explicit CapturedOutput(int descriptor = 1);
    ~CapturedOutput();
    CapturedOutput(const CapturedOutput&) = delete;
    CapturedOutput& operator=(const CapturedOutput&) = delete;

    // Everything printed since the capture began.
    [[nodiscard]] std::string text() const;

private:
    int descriptor_;
    int saved_ = -1;
    int file_ = -1;
};

}  // namespace testsupport
