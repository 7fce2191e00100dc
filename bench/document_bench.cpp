// Reading, replacing and writing menu documents of many entries, flat (all
// in one category) and nested (categories of ten, ten deep and more). Each
// case runs in a process of its own, so no case starts on a heap another
// one left behind.
//   document_bench [entries...]   (default 10000 100000 1000000)
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "editor/document/document_binding.h"
#include "editor/document/document_codec.h"
#include "editor/document/menu_document.h"
#include "editor/document/test_holder_test.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// Processor time of this process so far, in seconds: on a busy machine it
// shows what the case itself costs.
double ProcessorSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

void Flat(TTestHolder& holder, int entries) {
    TTreeNode* category = holder.AddCategory(holder.Root(), "All");
    for (int i = 0; i < entries; ++i)
        holder.AddEntry(category, "Entry " + std::to_string(i), "Text of the entry", "setup.exe", "pics\\a.bmp");
}

// Every category holds nine entries and one subcategory, down to the end.
void Nested(TTestHolder& holder, int entries) {
    TTreeNode* category = holder.AddCategory(holder.Root(), "Level 0");
    for (int i = 0, level = 0; i < entries; ++i) {
        if (i % 10 == 9) {
            category = holder.AddCategory(category, "Level " + std::to_string(++level));
            continue;
        }
        holder.AddEntry(category, "Entry " + std::to_string(i), "Text of the entry", "setup.exe", "pics\\a.bmp");
    }
}

// The goal for writing this many entries, in seconds; 0 when there is none.
double WriteGoal(int entries) {
    return entries == 100000 ? 0.3 : entries == 1000000 ? 3.0 : 0;
}

void Measure(const std::string& shape, int entries) {
    const std::string file = "/tmp/quillory-bench-" + std::to_string(getpid()) + ".qbx";
    TTestHolder source;
    (shape == "flat" ? Flat : Nested)(source, entries);
    auto start = Clock::now();
    const double processorStart = ProcessorSeconds();
    WriteMenuDocument(source, file);
    const double write = Seconds(start);
    const double writeProcessor = ProcessorSeconds() - processorStart;

    TTestHolder holder;
    start = Clock::now();
    ReadMenuDocument(holder, file);
    const double read = Seconds(start);
    start = Clock::now();
    ReadMenuDocument(holder, file);  // replaces the whole tree just read
    const double replace = Seconds(start);
    std::remove(file.c_str());

    // The steps apart, in processor time: capturing the holder's document
    // and making its bytes; parsing the bytes and building the tree from
    // them (replacing the one there, as reading does).
    double mark = ProcessorSeconds();
    auto step = [&mark] {
        const double now = ProcessorSeconds(), spent = now - mark;
        mark = now;
        return spent;
    };
    const TMenuDocument captured = CaptureMenuDocument(source);
    const double capture = step();
    const std::string bytes = SerialiseMenuDocument(captured);
    const double serialise = step();
    const TMenuDocument parsed = ParseMenuDocument(bytes);
    const double parse = step();
    ApplyMenuDocument(holder, parsed);
    const double build = step();

    char goal[32] = "";
    if (WriteGoal(entries) > 0) std::snprintf(goal, sizeof goal, " (goal %.1f s)", WriteGoal(entries));
    std::printf("%-7s %7d entries: write %7.3f s (processor %.3f s)%s, read %7.3f s, read replacing the same "
                "%7.3f s (%d nodes)\n",
                shape.c_str(), entries, write, writeProcessor, goal, read, replace, holder.MenuTree().Count());
    std::printf("%-7s %7d entries, processor time: capture %.3f s, serialise %.3f s, parse %.3f s, build the tree "
                "%.3f s\n",
                shape.c_str(), entries, capture, serialise, parse, build);
}

// Runs one case in a new process of this program.
bool RunApart(const char* self, const char* shape, int entries) {
    std::string count = std::to_string(entries);
    std::vector<char*> args{const_cast<char*>(self), const_cast<char*>("--case"), const_cast<char*>(shape),
                            count.data(), nullptr};
    std::fflush(stdout);
    pid_t child = 0;
    if (posix_spawn(&child, "/proc/self/exe", nullptr, nullptr, args.data(), environ) != 0) return false;
    int status = 0;
    return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--case") == 0) {
        Measure(argv[2], std::atoi(argv[3]));
        return 0;
    }
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty()) sizes = {10000, 100000, 1000000};
    int status = 0;
    for (int entries : sizes) {
        for (const char* shape : {"flat", "nested"}) {
            if (!RunApart(argv[0], shape, entries)) {
                std::printf("%-7s %7d entries: the case failed\n", shape, entries);
                status = 1;
            }
        }
    }
    return status;
}
