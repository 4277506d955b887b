// Captures what the code under test writes to standard output (through C
// stdio, as the trace does) into a string.
#ifndef QUIMBAR_TEST_CAPTURE_STDOUT_H
#define QUIMBAR_TEST_CAPTURE_STDOUT_H

#include <string>

class StdoutCapture {
public:
    StdoutCapture();
    ~StdoutCapture();
    // Stops capturing and returns everything written since construction.
    std::string finish();

private:
    int saved_fd_ = -1;
    int file_fd_ = -1;
    std::string path_;
};

#endif
