// Converts a file with the Unicode layer's UTF-8 and UTF-7 coders: UTF-16LE
// in and UTF-8 or UTF-7 out, or back.
//   utf_convert to-utf8|to-utf7|from-utf8|from-utf7 IN OUT [--time REPEATS]
// With --time the conversion alone is timed: "cold S" for the first one in
// this process, then "warm S" for the median of REPEATS more (to stderr).
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "unicode/text/uc_errors.h"
#include "unicode/text/utf7.h"
#include "unicode/text/utf8.h"

namespace {

using Clock = std::chrono::steady_clock;

bool ReadWholeFile(const char* name, std::string& bytes) {
    FILE* file = std::fopen(name, "rb");
    if (!file) return false;
    bool ok = std::fseek(file, 0, SEEK_END) == 0;
    long size = ok ? std::ftell(file) : -1;
    ok = size >= 0 && std::fseek(file, 0, SEEK_SET) == 0;
    if (ok) {
        bytes.resize(static_cast<size_t>(size));
        ok = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
    }
    std::fclose(file);
    return ok;
}

// Written beside the target and moved over it when complete.
bool WriteWholeFile(const char* name, const std::string& bytes) {
    const std::string partial = std::string(name) + ".partial";
    FILE* file = std::fopen(partial.c_str(), "wb");
    if (!file) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = std::fclose(file) == 0 && ok;
    std::error_code error;
    if (ok) std::filesystem::rename(partial, name, error);
    ok = ok && !error;
    if (!ok) std::remove(partial.c_str());
    return ok;
}

std::wstring FromUtf16Le(const std::string& bytes) {
    std::wstring text(bytes.size() / 2, L'\0');
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<wchar_t>(static_cast<uint8_t>(bytes[2 * i]) |
                                       static_cast<uint8_t>(bytes[2 * i + 1]) << 8);
    return text;
}

std::string ToUtf16Le(const std::wstring& text) {
    std::string bytes(text.size() * 2, '\0');
    for (size_t i = 0; i < text.size(); ++i) {
        auto unit = static_cast<unsigned>(text[i]) & 0xFFFF;
        bytes[2 * i] = static_cast<char>(unit & 0xFF);
        bytes[2 * i + 1] = static_cast<char>(unit >> 8);
    }
    return bytes;
}

int Usage() {
    std::fprintf(stderr, "usage: utf_convert to-utf8|to-utf7|from-utf8|from-utf7 IN OUT [--time REPEATS]\n");
    return 2;
}

// Runs convert once (cold) and then repeats times (warm), keeping the first
// result; reports the times when asked to.
template <typename Result, typename Convert>
Result Timed(Convert convert, int repeats, bool report) {
    auto start = Clock::now();
    Result first = convert();
    const double cold = std::chrono::duration<double>(Clock::now() - start).count();
    std::vector<double> warm;
    for (int i = 0; i < repeats; ++i) {
        start = Clock::now();
        { Result again = convert(); }
        warm.push_back(std::chrono::duration<double>(Clock::now() - start).count());
    }
    if (report) {
        std::fprintf(stderr, "cold %.6f\n", cold);
        if (!warm.empty()) {
            std::sort(warm.begin(), warm.end());
            std::fprintf(stderr, "warm %.6f\n", warm[warm.size() / 2]);
        }
    }
    return first;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4 && argc != 6) return Usage();
    const std::string mode = argv[1];
    int repeats = 0;
    const bool report = argc == 6;
    if (report) {
        if (std::strcmp(argv[4], "--time") != 0) return Usage();
        repeats = std::max(0, std::atoi(argv[5]));
    }
    std::string input;
    if (!ReadWholeFile(argv[2], input)) {
        std::fprintf(stderr, "utf_convert: cannot read %s\n", argv[2]);
        return 1;
    }
    std::string output;
    try {
        if (mode == "to-utf8" || mode == "to-utf7") {
            if (input.size() % 2) {
                std::fprintf(stderr, "utf_convert: %s: odd number of bytes for UTF-16\n", argv[2]);
                return 1;
            }
            const std::wstring text = FromUtf16Le(input);
            if (mode == "to-utf8")
                output = Timed<std::string>([&] { return WideToUtf8(text); }, repeats, report);
            else
                output = Timed<std::string>([&] { return WideToUtf7(text); }, repeats, report);
        } else if (mode == "from-utf8") {
            std::wstring text = Timed<std::wstring>([&] { return Utf8ToWide(input); }, repeats, report);
            // Only malformed input gives nothing for something.
            if (text.empty() && !input.empty()) {
                std::fprintf(stderr, "utf_convert: %s: malformed UTF-8\n", argv[2]);
                return 1;
            }
            output = ToUtf16Le(text);
        } else if (mode == "from-utf7") {
            output = ToUtf16Le(Timed<std::wstring>([&] { return Utf7ToWide(input); }, repeats, report));
        } else {
            return Usage();
        }
    } catch (const Exception& e) {
        std::fprintf(stderr, "utf_convert: %s: %s\n", argv[2], e.Message().c_str());
        return 1;
    }
    if (!WriteWholeFile(argv[3], output)) {
        std::fprintf(stderr, "utf_convert: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
