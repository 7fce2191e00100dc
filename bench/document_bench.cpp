// Reading, replacing and writing menu documents of many entries, flat (all
// in one category) and nested (categories of ten, ten deep and more).
//   document_bench [entries...]   (default 10000 100000)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <unistd.h>

#include "editor/document/menu_document.h"
#include "editor/document/test_holder_test.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
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

void Measure(const char* shape, int entries, void (*build)(TTestHolder&, int)) {
    const std::string file = "/tmp/quillory-bench-" + std::to_string(getpid()) + ".qbx";
    TTestHolder source;
    build(source, entries);
    auto start = Clock::now();
    WriteMenuDocument(source, file);
    const double write = Seconds(start);

    TTestHolder holder;
    start = Clock::now();
    ReadMenuDocument(holder, file);
    const double read = Seconds(start);
    start = Clock::now();
    ReadMenuDocument(holder, file);  // replaces the whole tree just read
    const double replace = Seconds(start);
    std::remove(file.c_str());
    std::printf("%-7s %7d entries: write %7.3f s, read %7.3f s, read replacing the same %7.3f s (%d nodes)\n",
                shape, entries, write, read, replace, holder.MenuTree().Count());
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty()) sizes = {10000, 100000};
    for (int entries : sizes) {
        Measure("flat", entries, Flat);
        Measure("nested", entries, Nested);
    }
    return 0;
}
