#include "support/capture_stdout.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

StdoutCapture::StdoutCapture() {
    char name[] = "/tmp/quimbar-stdout-XXXXXX";
    file_fd_ = mkstemp(name);
    if (file_fd_ < 0) throw std::runtime_error("mkstemp failed");
    path_ = name;
    std::fflush(stdout);
    saved_fd_ = dup(STDOUT_FILENO);
    dup2(file_fd_, STDOUT_FILENO);
}

std::string StdoutCapture::finish() {
    if (saved_fd_ < 0) return {};
    std::fflush(stdout);
    dup2(saved_fd_, STDOUT_FILENO);
    close(saved_fd_);
    saved_fd_ = -1;
    std::string text;
    if (FILE* f = std::fopen(path_.c_str(), "rb")) {
        char buf[65536];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
        std::fclose(f);
    }
    close(file_fd_);
    unlink(path_.c_str());
    return text;
}

StdoutCapture::~StdoutCapture() { finish(); }
