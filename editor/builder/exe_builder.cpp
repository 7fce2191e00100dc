#include "editor/builder/exe_builder.h"

#include <cstring>
#include <vector>

#include "classlib/core/fileutils.h"
#include "classlib/platform/interaction.h"
#include "classlib/core/paths.h"
#include "classlib/core/strutils.h"
#include "classlib/core/textfile.h"
#include "classlib/core/untyped_file.h"
#include "classlib/gui/win32.h"

const char DocumentSignature[8] = {'Z', 'E', 'B', 'R', 'I', 'Q', 'U', 'T'};

namespace {

constexpr unsigned kReportFlags = MB_TASKMODAL | MB_ICONINFORMATION;

void Report(const char* text, const char* caption = nullptr) {
    Interaction().MessageBox(nullptr, text, caption, kReportFlags);
}

// Sets the file mode for one open and restores the previous one.
void ResetReadOnly(TUntypedFile& file, const std::string& name) {
    int saved = FileMode;
    FileMode = 0;
    file.Assign(name);
    file.Reset(1);
    FileMode = saved;
}

}  // namespace

bool PatchDocumentMarker(uint8_t* block, int32_t count, int32_t offset) {
    bool found = false;
    for (int32_t k = 0; k + 20 <= count; ++k) {
        if (std::memcmp(block + k, DocumentSignature, sizeof DocumentSignature) != 0) continue;
        found = true;
        int32_t zero = 0;
        std::memcpy(block + k, &offset, 4);
        std::memcpy(block + k + 16, &zero, 4);
    }
    return found;
}

bool CreateExeFromTemplate(const std::string& templatePath, const std::string& documentPath,
                           const std::string& targetPath) {
    bool failed = false;
    if (SameFile(targetPath, templatePath) || SameFile(targetPath, documentPath)) {
        Report("Could not create file!");
        return false;
    }
    TUntypedFile target;
    target.Assign(targetPath);
    target.Rewrite(1);
    if (IOResult() != 0) {
        Report("Could not create file!");
        return false;
    }

    TUntypedFile source;
    ResetReadOnly(source, templatePath);
    if (IOResult() != 0) {
        Report("Could not open the file Playstub.dat!");
        target.Close();
        IOResult();
        Report("Could not create file!");
        return false;
    }
    int64_t size = source.FileSize();
    IOResult();
    std::vector<uint8_t> block(BuildBlockSize);
    bool found = false;
    int32_t read = 0, written = 0;
    do {
        source.BlockRead(block.data(), BuildBlockSize, read);
        if (IOResult() != 0) failed = true;
        for (int32_t i = 0; i < read; ++i) block[static_cast<size_t>(i)] = static_cast<uint8_t>(block[static_cast<size_t>(i)] - 1);
        if (!found) found = PatchDocumentMarker(block.data(), read, static_cast<int32_t>(size));
        target.BlockWrite(block.data(), read, written);
        if (IOResult() != 0) failed = true;
    } while (read != 0 && written == read);
    source.Close();
    if (IOResult() != 0) failed = true;
    if (!found) {
        Report("File Playstub.dat is corrupted!");
        failed = true;
    }

    TUntypedFile document;
    ResetReadOnly(document, documentPath);
    if (IOResult() != 0) {
        failed = true;
        Report("Could not open QBX file!");
        target.Close();
        IOResult();
    } else {
        do {
            document.BlockRead(block.data(), BuildBlockSize, read);
            if (IOResult() != 0) failed = true;
            target.BlockWrite(block.data(), read, written);
            if (IOResult() != 0) failed = true;
        } while (read != 0 && written == read);
        document.Close();
        if (IOResult() != 0) failed = true;
        target.Close();
        if (IOResult() != 0) failed = true;
    }

    if (failed) Report("Could not create file!");
    else Report("The exe file could be successfully created.", "Exe file created");
    return !failed;
}

std::string TemporaryFolder() {
    char buffer[MAX_PATH + 1] = {};
    DWORD n = GetTempPathA(sizeof buffer, buffer);
    if (n == 0 || n > MAX_PATH) return std::string();
    return IncludeTrailingBackslash(std::string(buffer, n));
}

std::string FreeTemporaryDocument(const std::string& folder) {
    for (int n = 0;; ++n) {
        std::string name = folder + "tf" + IntToStr(n) + ".qbx";
        if (!FileExists(name)) return name;
    }
}

bool WriteAutorunFile(const std::string& folder, const std::string& exeFileName) {
    TTextFile file;
    file.Assign(folder + "autorun.inf");
    file.Rewrite();
    if (IOResult() != 0) return false;
    file.WriteLn("[autorun]");
    file.WriteLn("open=" + exeFileName);
    bool ok = IOResult() == 0;
    file.Close();
    return IOResult() == 0 && ok;
}
