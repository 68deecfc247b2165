// Scripted standard input for front-end tests: the interpreters read their
// further words and numbers straight from stdin.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

// Makes standard input read the text (from a temporary file).
inline void FeedInput(const std::string& text) {
    char path[] = "/tmp/velkor-input-XXXXXX";
    int fd = mkstemp(path);
    if (fd < 0) std::abort();
    if (write(fd, text.data(), text.size()) != ssize_t(text.size())) std::abort();
    close(fd);
    if (!std::freopen(path, "r", stdin)) std::abort();
    unlink(path);
}
