// What every fuzz target shares: scratch files, the count of open files,
// and failing with a message (libFuzzer then keeps the input).
#pragma once
#include <dirent.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace fuzz {

[[noreturn]] inline void Fail(const char* what) {
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

inline void Check(bool condition, const char* what) {
    if (!condition) Fail(what);
}

// Files and other descriptors this process holds open.
inline int OpenDescriptors() {
    int count = 0;
    if (DIR* dir = opendir("/proc/self/fd")) {
        while (readdir(dir)) ++count;
        closedir(dir);
    }
    return count;
}

// A file of this process in memory-backed storage where there is some.
inline std::string ScratchName(const char* suffix) {
    const char* folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return std::string(folder) + "/quillory-fuzz-" + std::to_string(getpid()) + suffix;
}

inline void WriteFile(const std::string& name, const uint8_t* data, size_t size) {
    std::FILE* f = std::fopen(name.c_str(), "wb");
    if (!f) Fail("cannot write the scratch file");
    if (size) std::fwrite(data, 1, size, f);
    std::fclose(f);
}

inline std::string ReadFile(const std::string& name) {
    std::string bytes;
    if (std::FILE* f = std::fopen(name.c_str(), "rb")) {
        char buffer[65536];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
        std::fclose(f);
    }
    return bytes;
}

}  // namespace fuzz
