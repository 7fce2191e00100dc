// Start-up and build figures of the Windows programs, for tools/bench.sh
// (run under Wine): the editor opening a document of many entries until
// its tree shows them, the runtime until its player window is painted,
// each beside a bare program that shows one window; and building a menu
// executable; then the editor opening documents of 25,000, 50,000 and
// 100,000 entries, whose times should grow in step with the entries.
// Each figure is the median of several runs; the runtime's runs
// alternate with the bare program's, so both meet the same load.
//   wine_bench [entries [larger entries...]]   (default 10000 and the
//   three sizes above); works in bin\bench\.
//   wine_bench --start [runs]   only the runtime beside the bare program.
//   wine_bench --emptying [larger entries...]   only File/New and File/Open
//   after large documents.
// The line "build-file <name>" names the built executable for the script,
// which compares the build with copying the same bytes.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "classlib/core/kernel_handle.h"
#include "classlib/gui/callback_barrier.h"
#include "classlib/gui/win32.h"
#include "classlib/platform/interaction.h"
#include "editor/builder/exe_builder.h"
#include "editor/document/menu_document.h"
#include "editor/document/test_holder_test.h"

namespace {

constexpr int kStartRuns = 7;
constexpr int kEditorRuns = 3;
// The build is timed this often and its fastest run taken, as tools/bench.sh
// times cp: the fastest run is what the code costs, the others add what
// the machine's other work took from it.
constexpr int kBuildRuns = 9;
constexpr DWORD kGiveUpMs = 60000;

// The builder reports by message box; the bench keeps the last text.
class TRecordedBoxes : public TInteraction {
public:
    TRecordedBoxes() { SetInteraction(this); }
    ~TRecordedBoxes() override { SetInteraction(nullptr); }
    int MessageBox(void*, const char* text, const char*, unsigned) override {
        Last = text ? text : "";
        return IDOK;
    }
    std::string Last;
};

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    if (values.empty()) return -1;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::string ProgramFolder() {
    char name[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, name, MAX_PATH);
    std::string path = name;
    return path.substr(0, path.find_last_of('\\') + 1);
}

std::string ClassOf(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

// The first window the enumeration meets that `matches`.
struct WindowSearch {
    explicit WindowSearch(std::function<bool(HWND)> test) : matches(std::move(test)) {}
    std::function<bool(HWND)> matches;
    HWND found = nullptr;
    std::exception_ptr error;
};

BOOL CALLBACK SearchProc(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    return CallbackBarrier(search->error, FALSE, [&]() -> BOOL {
        if (!search->matches(window)) return TRUE;
        search->found = window;
        return FALSE;
    });
}

HWND VisibleTopWindow(DWORD processId, const char* className) {
    WindowSearch search([&](HWND window) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        return pid == processId && IsWindowVisible(window) && ClassOf(window) == className;
    });
    EnumWindows(SearchProc, reinterpret_cast<LPARAM>(&search));
    if (search.error) std::rethrow_exception(search.error);
    return search.found;
}

HWND TreeViewOf(HWND top) {
    WindowSearch search([](HWND window) {
        std::string name = ClassOf(window);
        return name == "TTreeView" || name == "SysTreeView32";
    });
    EnumChildWindows(top, SearchProc, reinterpret_cast<LPARAM>(&search));
    if (search.error) std::rethrow_exception(search.error);
    return search.found;
}

// Visible, handling messages and nothing left to paint.
bool Painted(HWND window) {
    DWORD_PTR result = 0;
    return IsWindowVisible(window) && !GetUpdateRect(window, nullptr, FALSE) &&
           SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
}

// Polls until `ready` holds, twice in a row so that a window caught
// between being shown and being invalidated does not count as painted;
// the seconds since `start`, or -1 when the process ended or gave up first.
double SecondsUntil(double start, HANDLE process, const std::function<bool()>& ready) {
    int inARow = 0;
    while (Now() - start < kGiveUpMs / 1000.0) {
        if (WaitForSingleObject(process, 0) != WAIT_TIMEOUT) return -1;
        inARow = ready() ? inARow + 1 : 0;
        if (inARow == 2) return Now() - start;
        Sleep(1);
    }
    return -1;
}

// Starts the program and polls until `ready` finds what it waits for;
// returns the seconds from the start, or -1 when the program did not get
// there. The program is ended afterwards.
double TimeStart(const std::string& exe, const std::string& arguments, const std::string& folder,
                 const std::function<bool(DWORD)>& ready) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION info{};
    std::string line = "\"" + exe + "\"" + (arguments.empty() ? "" : " \"" + arguments + "\"");
    const double start = Now();
    if (!CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &info))
        return -1;
    TKernelHandle process(info.hProcess), thread(info.hThread);
    const double seconds = SecondsUntil(start, info.hProcess, [&] { return ready(info.dwProcessId); });
    TerminateProcess(info.hProcess, 0);
    WaitForSingleObject(info.hProcess, 10000);
    return seconds;
}

double MedianStart(int runs, const std::string& exe, const std::string& arguments, const std::string& folder,
                   const std::function<bool(DWORD)>& ready) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        double t = TimeStart(exe, arguments, folder, ready);
        if (t < 0) return -1;
        times.push_back(t);
    }
    return Median(times);
}

// Painted, and so are all of its visible child windows (the player's page
// is painted in a child window after the frame).
bool PaintedWithChildren(HWND window) {
    if (!Painted(window)) return false;
    WindowSearch unpainted([](HWND child) { return IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE); });
    EnumChildWindows(window, SearchProc, reinterpret_cast<LPARAM>(&unpainted));
    if (unpainted.error) std::rethrow_exception(unpainted.error);
    return !unpainted.found;
}

std::function<bool(DWORD)> WindowPainted(const char* className) {
    return [className](DWORD pid) {
        HWND window = VisibleTopWindow(pid, className);
        return window && PaintedWithChildren(window);
    };
}

// Medians of the bare program's and the runtime's start, run in turns.
std::pair<double, double> BareAndRuntimeStarts(int runs, const std::string& bin, const std::string& work) {
    std::vector<double> bare, runtime;
    for (int i = 0; i < runs; ++i) {
        const double b = TimeStart(bin + "bare_window.exe", "", work, WindowPainted("TBareWindow"));
        const double r = TimeStart(work + "menu.exe", "", work, WindowPainted("TPlayForm"));
        if (b < 0 || r < 0) return {b < 0 ? -1 : Median(bare), r < 0 ? -1 : Median(runtime)};
        bare.push_back(b);
        runtime.push_back(r);
    }
    return {Median(bare), Median(runtime)};
}

// All entries in one category, or in categories of `perCategory` each.
void WriteFlatDocument(const std::string& file, int entries, int perCategory = 0) {
    TTestHolder holder;
    TTreeNode* category = holder.AddCategory(holder.Root(), "All");
    for (int i = 0; i < entries; ++i) {
        if (perCategory > 0 && i % perCategory == 0)
            category = holder.AddCategory(holder.Root(), "Category " + std::to_string(i / perCategory));
        holder.AddEntry(category, "Entry " + std::to_string(i), "Text of the entry", "setup.exe", "");
    }
    WriteMenuDocument(holder, file);
}

void PrintRatio(const char* what, double seconds, double peer, const char* peerName, const char* goal) {
    if (seconds < 0 || peer <= 0) {
        std::printf("  %-44s did not finish\n", what);
        return;
    }
    std::printf("  %-44s %7.3f s, %5.2fx %s (goal: %s)\n", what, seconds, seconds / peer, peerName, goal);
}

// Prints both starts; returns the bare program's.
double PrintStarts(int runs, const std::string& bin, const std::string& work) {
    const auto [bare, runtime] = BareAndRuntimeStarts(runs, bin, work);
    std::printf("  %-44s %7.3f s\n", "bare window shown and painted", bare);
    PrintRatio("runtime: player window painted", runtime, bare, "the bare window", "1.5x");
    return bare;
}

// The editor's main window and its tree are painted, and the tree holds a
// number of items that `holds` accepts.
bool EditorTreePainted(DWORD pid, const std::function<bool(int)>& holds) {
    HWND main = VisibleTopWindow(pid, "TMainForm");
    if (!main) return false;
    HWND tree = TreeViewOf(main);
    return tree && holds(static_cast<int>(SendMessageA(tree, TVM_GETCOUNT, 0, 0))) && Painted(main) && Painted(tree);
}

// Seconds from starting the editor with the document until its tree holds
// all entries and it is painted; -1 when it did not get there.
double EditorShown(const std::string& bin, const std::string& work, const std::string& document, int entries) {
    return MedianStart(kEditorRuns, bin + "Quillory.exe", document, work, [entries](DWORD pid) {
        return EditorTreePainted(pid, [entries](int items) { return items >= entries; });
    });
}

// The editor on ever larger documents: each size's time, per 1,000
// entries, and the largest against the smallest; then the largest again
// with its entries in categories of 100.
// Writes `document` with all entries in one category for each size, times
// `time` on it and prints the figure with its time per 1,000 entries, named
// by `format` (taking the size); returns the sizes that finished, with
// their times.
std::vector<std::pair<int, double>> TimeSizes(const std::string& document, const std::vector<int>& sizes,
                                              const char* format, const std::function<double(int)>& time) {
    std::vector<std::pair<int, double>> finished;
    for (int entries : sizes) {
        WriteFlatDocument(document, entries);
        const double seconds = time(entries);
        char what[80];
        std::snprintf(what, sizeof what, format, entries);
        if (seconds < 0) {
            std::printf("  %-44s did not finish\n", what);
            continue;
        }
        std::printf("  %-44s %7.3f s, %.1f ms per 1,000 entries\n", what, seconds, seconds * 1e6 / entries);
        finished.emplace_back(entries, seconds);
    }
    return finished;
}

// The largest size's time beside the smallest's (the goal: in step).
void PrintGrowth(const char* what, const std::vector<std::pair<int, double>>& times) {
    if (times.size() < 2) return;
    const auto& [fewest, first] = times.front();
    const auto& [most, last] = times.back();
    std::printf("  %-44s %5.2fx the time for %.2fx the entries (goal: linear)\n", what, last / first,
                static_cast<double>(most) / fewest);
}

void LargeDocuments(const std::string& bin, const std::string& work, const std::vector<int>& sizes) {
    const std::string document = work + "large.qbx";
    const auto shown = TimeSizes(document, sizes, "editor: %d entries shown in its tree",
                                 [&](int entries) { return EditorShown(bin, work, document, entries); });
    if (!sizes.empty()) {
        const int entries = sizes.back();
        WriteFlatDocument(document, entries, 100);
        const double seconds = EditorShown(bin, work, document, entries);
        char what[80];
        std::snprintf(what, sizeof what, "editor: %d entries, categories of 100", entries);
        if (seconds < 0) std::printf("  %-44s did not finish\n", what);
        else std::printf("  %-44s %7.3f s, %.1f ms per 1,000 entries\n", what, seconds, seconds * 1e6 / entries);
    }
    DeleteFileA(document.c_str());
    PrintGrowth("editor: largest beside smallest document", shown);
    if (shown.size() >= 2 && shown.back().first >= 100000)
        std::printf("  %-44s %7.3f s for %d entries (goal: 100,000 within 3 s)\n", "editor: largest document shown",
                    shown.back().second, shown.back().first);
}

// --- File/New and File/Open in an editor that shows a large document ---------

// The editor started on a document, ended when this goes.
class TRunningEditor {
public:
    TRunningEditor(const std::string& bin, const std::string& work, const std::string& document, int entries) {
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION info{};
        std::string line = "\"" + bin + "Quillory.exe\" \"" + document + "\"";
        if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, work.c_str(), &si, &info))
            return;
        process_.Reset(info.hProcess);
        thread_.Reset(info.hThread);
        pid_ = info.dwProcessId;
        if (SecondsUntil(Now(), Process(), [&] { return Shows([entries](int items) { return items >= entries; }); }) < 0)
            return;
        main_ = VisibleTopWindow(pid_, "TMainForm");
        tree_ = TreeViewOf(main_);
    }
    ~TRunningEditor() {
        if (!process_) return;
        TerminateProcess(Process(), 0);
        WaitForSingleObject(Process(), 10000);
    }
    TRunningEditor(const TRunningEditor&) = delete;
    TRunningEditor& operator=(const TRunningEditor&) = delete;

    bool Ready() const { return main_ && tree_; }
    HANDLE Process() const { return process_.Get(); }
    bool Shows(const std::function<bool(int)>& holds) const { return EditorTreePainted(pid_, holds); }

    // Clicks a point of the main window's client area by the messages a
    // click gives the window under it (the tool row's buttons have none).
    void Click(int x, int y) const {
        POINT p{x, y};
        HWND target = ChildWindowFromPointEx(main_, p, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
        if (!target) return;
        MapWindowPoints(main_, target, &p, 1);
        PostMessageA(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        PostMessageA(target, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    }

    // The dialog or message box the editor shows next, once it has the
    // keyboard focus; nullptr when none comes.
    HWND NextDialog(HWND after = nullptr) const {
        HWND dialog = nullptr;
        SecondsUntil(Now(), Process(), [&] {
            dialog = VisibleTopWindow(pid_, "#32770");
            return dialog && dialog != after && FocusIn(dialog);
        });
        return dialog != after ? dialog : nullptr;
    }

private:
    static bool FocusIn(HWND dialog) {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
        return info.hwndFocus && (info.hwndFocus == dialog || IsChild(dialog, info.hwndFocus));
    }

    TKernelHandle process_, thread_;
    DWORD pid_ = 0;
    HWND main_ = nullptr, tree_ = nullptr;
};

// Where the tool row's New and Open buttons are, in the main window.
constexpr POINT kNewButton{39, 13}, kOpenButton{111, 13};

void PressOk(HWND dialog) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

// Seconds from confirming File/New in an editor that shows `document`
// until its tree shows the root alone, painted; -1 when it did not get there.
double NewAfter(const std::string& bin, const std::string& work, const std::string& document, int entries) {
    TRunningEditor editor(bin, work, document, entries);
    if (!editor.Ready()) return -1;
    editor.Click(kNewButton.x, kNewButton.y);
    HWND box = editor.NextDialog();
    if (!box) return -1;
    const double start = Now();
    PressOk(box);
    return SecondsUntil(start, editor.Process(), [&] { return editor.Shows([](int items) { return items == 1; }); });
}

// Seconds from confirming the file dialog of File/Open, naming `next` (of
// `nextItems` tree items), in an editor that shows `document`, until its
// tree shows the next document, painted; -1 when it did not get there.
double OpenAfter(const std::string& bin, const std::string& work, const std::string& document, int entries,
                 const std::string& next, int nextItems) {
    TRunningEditor editor(bin, work, document, entries);
    if (!editor.Ready()) return -1;
    editor.Click(kOpenButton.x, kOpenButton.y);
    HWND box = editor.NextDialog();
    if (!box) return -1;
    PressOk(box);
    HWND files = editor.NextDialog(box);
    if (!files) return -1;
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(files, nullptr), &info);
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(info.hwndFocus, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(next.c_str()), SMTO_ABORTIFHUNG,
                             5000, &result))
        return -1;
    const double start = Now();
    PressOk(files);
    return SecondsUntil(start, editor.Process(),
                        [&] { return editor.Shows([nextItems](int items) { return items == nextItems; }); });
}

double MedianOf(int runs, const std::function<double()>& run) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double t = run();
        if (t < 0) return -1;
        times.push_back(t);
    }
    return Median(times);
}

// File/New after documents of each size (the time should grow in step
// with the entries; 100,000 within 1 s), and File/Open of a document of
// `smaller` entries after the largest (within 1 s).
void EmptyingLargeDocuments(const std::string& bin, const std::string& work, const std::vector<int>& sizes,
                            int smaller) {
    if (sizes.empty()) return;
    const std::string document = work + "large.qbx";
    const auto emptied = TimeSizes(document, sizes, "editor: File/New after %d entries", [&](int entries) {
        return MedianOf(kEditorRuns, [&] { return NewAfter(bin, work, document, entries); });
    });
    const std::string next = work + "next.qbx";
    WriteFlatDocument(next, smaller);
    const int largest = sizes.back();
    const double opened =
        MedianOf(kEditorRuns, [&] { return OpenAfter(bin, work, document, largest, next, smaller + 2); });
    DeleteFileA(document.c_str());
    DeleteFileA(next.c_str());
    PrintGrowth("editor: File/New, largest beside smallest", emptied);
    if (!emptied.empty() && emptied.back().first >= 100000)
        std::printf("  %-44s %7.3f s after %d entries (goal: 100,000 within 1 s)\n", "editor: File/New",
                    emptied.back().second, emptied.back().first);
    char what[80];
    std::snprintf(what, sizeof what, "editor: File/Open of %d after %d", smaller, largest);
    if (opened < 0) std::printf("  %-44s did not finish\n", what);
    else std::printf("  %-44s %7.3f s (goal: after 100,000 within 1 s)\n", what, opened);
}

}  // namespace

int main(int argc, char** argv) {
    const bool startOnly = argc > 1 && std::string(argv[1]) == "--start";
    const bool emptyingOnly = argc > 1 && std::string(argv[1]) == "--emptying";
    const int entries = argc > 1 && !startOnly && !emptyingOnly ? std::max(1, std::atoi(argv[1])) : 10000;
    std::vector<int> larger;
    for (int i = 2; i < argc && !startOnly; ++i) larger.push_back(std::max(1, std::atoi(argv[i])));
    if (argc <= 2) larger = {25000, 50000, 100000};
    const std::string bin = ProgramFolder();
    const std::string work = bin + "bench\\";
    CreateDirectoryA(work.c_str(), nullptr);
    CopyFileA((bin + "Pixwell.dll").c_str(), (work + "Pixwell.dll").c_str(), FALSE);
    if (emptyingOnly) {
        EmptyingLargeDocuments(bin, work, larger, entries);
        return 0;
    }
    if (startOnly) {
        const std::string small = work + "menu.qbx";
        WriteFlatDocument(small, 3);
        TRecordedBoxes boxes;
        if (!CreateExeFromTemplate(bin + "Playstub.dat", small, work + "menu.exe")) {
            std::printf("  building failed: %s\n", boxes.Last.c_str());
            return 1;
        }
        PrintStarts(argc > 2 ? std::max(1, std::atoi(argv[2])) : kStartRuns, bin, work);
        return 0;
    }
    const std::string big = work + "entries.qbx", small = work + "menu.qbx";
    WriteFlatDocument(big, entries);
    WriteFlatDocument(small, 3);

    // Building: the builder on the large document; the script copies the
    // result with cp beside it.
    TRecordedBoxes boxes;
    std::vector<double> builds;
    const std::string built = work + "entries.exe";
    for (int i = 0; i < kBuildRuns; ++i) {
        const double start = Now();
        if (!CreateExeFromTemplate(bin + "Playstub.dat", big, built)) {
            std::printf("  building failed: %s\n", boxes.Last.c_str());
            return 1;
        }
        builds.push_back(Now() - start);
    }
    if (!CreateExeFromTemplate(bin + "Playstub.dat", small, work + "menu.exe")) {
        std::printf("  building failed: %s\n", boxes.Last.c_str());
        return 1;
    }

    const double bare = PrintStarts(kStartRuns, bin, work);
    const double editor = EditorShown(bin, work, big, entries);
    char what[80];
    std::snprintf(what, sizeof what, "editor: %d entries shown in its tree", entries);
    PrintRatio(what, editor, bare, "the bare window", "within 2 s");
    const double fastest = *std::min_element(builds.begin(), builds.end());
    std::printf("  %-44s %7.3f s (fastest of %d)\n", "building a menu executable", fastest, kBuildRuns);
    std::printf("build-seconds %.6f\n", fastest);
    std::fflush(stdout);
    LargeDocuments(bin, work, larger);
    std::fflush(stdout);
    EmptyingLargeDocuments(bin, work, larger, entries);
    std::fflush(stdout);
    return 0;
}
