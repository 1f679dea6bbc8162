#pragma once

// A file of a test's own under /tmp, removed when the test ends.

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

class ScratchFile {
public:
    ScratchFile()
    {
        char pattern[] = "/tmp/ballpit-test-XXXXXX";
        const int fd = mkstemp(pattern);
        EXPECT_GE(fd, 0);
        close(fd);
        path = pattern;
    }
    ~ScratchFile() { std::remove(path.c_str()); }
    ScratchFile(ScratchFile const&) = delete;
    ScratchFile& operator=(ScratchFile const&) = delete;

    std::string bytes() const
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    void write(std::string const& bytes) const
    {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    }

    std::string path;
};
