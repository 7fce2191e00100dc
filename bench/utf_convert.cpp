// Converts a file with the Unicode layer's UTF-8 and UTF-7 coders: UTF-16LE
// in and UTF-8 or UTF-7 out, or back.
//   utf_convert to-utf8|to-utf7|from-utf8|from-utf7 IN OUT [--time REPEATS]
// With --time the conversion alone is timed, from the input text in memory
// to the result text: "cold S cold-cpu S" for the first one in this process
// (its result in memory fresh from the system), then "warm S warm-cpu S"
// for the median of REPEATS more (to stderr). S is wall-clock seconds, the
// -cpu figure this thread's processor seconds (user and system, page
// faults included), which waiting for a busy machine's processors leaves
// out.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <ctime>
#endif

#include "unicode/text/uc_errors.h"
#include "unicode/text/utf7.h"
#include "unicode/text/utf8.h"

namespace {

using Clock = std::chrono::steady_clock;

// This thread's processor time so far, in seconds.
double ThreadSeconds() {
#ifdef _WIN32
    FILETIME created, exited, kernel, user;
    if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user)) return 0;
    auto ticks = [](const FILETIME& t) { return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 1e7;
#else
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
#endif
}

// Wall-clock and processor seconds of one call.
struct TTimes {
    double wall, cpu;
};

template <typename Result, typename Convert>
TTimes TimeOnce(Convert convert, Result* keep) {
    const double cpuStart = ThreadSeconds();
    const auto start = Clock::now();
    Result result = convert();
    TTimes times{std::chrono::duration<double>(Clock::now() - start).count(), ThreadSeconds() - cpuStart};
    if (keep) *keep = std::move(result);
    return times;
}

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
// result; reports the times when asked to. As in python_codecs.py, freeing
// a result is not timed.
template <typename Result, typename Convert>
Result Timed(Convert convert, int repeats, bool report) {
    Result first;
    const TTimes cold = TimeOnce<Result>(convert, &first);
    std::vector<double> wall, cpu;
    for (int i = 0; i < repeats; ++i) {
        const TTimes warm = TimeOnce<Result>(convert, nullptr);
        wall.push_back(warm.wall);
        cpu.push_back(warm.cpu);
    }
    if (report) {
        std::fprintf(stderr, "cold %.6f cold-cpu %.6f\n", cold.wall, cold.cpu);
        if (!wall.empty()) {
            std::sort(wall.begin(), wall.end());
            std::sort(cpu.begin(), cpu.end());
            std::fprintf(stderr, "warm %.6f warm-cpu %.6f\n", wall[wall.size() / 2], cpu[cpu.size() / 2]);
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
