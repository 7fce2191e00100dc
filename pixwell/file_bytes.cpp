#include "pixwell/file_bytes.h"

#include <cstdio>
#include <memory>

bool ReadFileBytes(const char* fileName, std::vector<uint8_t>& bytes) {
    bytes.clear();
    if (!fileName || !*fileName) return false;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(fileName, "rb"), std::fclose);
    if (!file || std::fseek(file.get(), 0, SEEK_END) != 0) return false;
    const long size = std::ftell(file.get());
    if (size <= 0 || size > kMaxFileBytes || std::fseek(file.get(), 0, SEEK_SET) != 0) return false;
    bytes.resize(static_cast<size_t>(size));
    if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        bytes.clear();
        return false;
    }
    return true;
}
