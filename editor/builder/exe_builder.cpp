#include "editor/builder/exe_builder.h"

#include <cstring>
#include <optional>
#include <vector>

#include "classlib/core/fileutils.h"
#include "classlib/core/kernel_handle.h"
#include "classlib/platform/interaction.h"
#include "classlib/core/paths.h"
#include "classlib/core/strutils.h"
#include "classlib/core/textfile.h"
#include "classlib/core/file_mode_scope.h"
#include "classlib/core/untyped_file.h"
#include "classlib/core/replacement_file.h"
#include "classlib/gui/win32.h"

const char DocumentSignature[8] = {'Z', 'E', 'B', 'R', 'I', 'Q', 'U', 'T'};

namespace {

constexpr unsigned kReportFlags = MB_TASKMODAL | MB_ICONINFORMATION;

struct TReporter {
    void* Owner;
    void operator()(const char* text, const char* caption = nullptr) const {
        Interaction().MessageBox(Owner, text, caption, kReportFlags);
    }
};

// Copies from one file to the other in blocks until the source ends, each
// block passed through change first. False at the first read error or
// write error, or a write cut short (a full medium takes fewer bytes
// without an error).
template <class Change>
bool CopyBlocks(TUntypedFile& from, TUntypedFile& to, std::vector<uint8_t>& block, Change change) {
    for (;;) {
        int32_t read = 0, written = 0;
        from.BlockRead(block.data(), static_cast<int32_t>(block.size()), read);
        if (IOResult() != 0) return false;
        if (read == 0) return true;
        change(block.data(), read);
        to.BlockWrite(block.data(), read, written);
        if (IOResult() != 0 || written != read) return false;
    }
}

// Opens the file for reading only; FileMode stays as it was.
void ResetReadOnly(TUntypedFile& file, const std::string& name) {
    TFileModeScope readOnly(0);
    file.Assign(name);
    file.Reset(1);
}

std::string FullPath(const std::string& name) {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        DWORD n = GetFullPathNameA(name.c_str(), static_cast<DWORD>(path.size()), path.data(), nullptr);
        if (n == 0) return name;
        if (n < path.size()) return path.substr(0, n);
        path.resize(n);
    }
}

// A file's volume and index; nothing when the file cannot be opened.
struct TFileIdentity {
    DWORD Volume = 0, IndexHigh = 0, IndexLow = 0;
    bool operator==(const TFileIdentity&) const = default;
};

std::optional<TFileIdentity> IdentityOf(const std::string& name) {
    TKernelHandle file(CreateFileA(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file || !GetFileInformationByHandle(file.Get(), &info)) return std::nullopt;
    return TFileIdentity{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

// Creating the target empties it, so it must be neither source: not by
// name, nor (links, other spellings) by identity. Each file is asked for
// its identity once; the volume's serial number is slow to get.
bool TargetIsASource(const std::string& target, const std::string& templatePath, const std::string& documentPath) {
    const std::string full = FullPath(target);
    if (lstrcmpiA(full.c_str(), FullPath(templatePath).c_str()) == 0 ||
        lstrcmpiA(full.c_str(), FullPath(documentPath).c_str()) == 0)
        return true;
    std::optional<TFileIdentity> identity = IdentityOf(target);
    return identity && (identity == IdentityOf(templatePath) || identity == IdentityOf(documentPath));
}

}  // namespace

bool PatchDocumentMarker(uint8_t* block, int32_t count, int32_t offset) {
    bool found = false;
    // Only positions holding the signature's first byte are compared whole.
    for (int32_t k = 0; k + 20 <= count; ++k) {
        const void* first = std::memchr(block + k, DocumentSignature[0], static_cast<size_t>(count - 20 - k + 1));
        if (!first) break;
        k = static_cast<int32_t>(static_cast<const uint8_t*>(first) - block);
        if (std::memcmp(block + k, DocumentSignature, sizeof DocumentSignature) != 0) continue;
        found = true;
        int32_t zero = 0;
        std::memcpy(block + k, &offset, 4);
        std::memcpy(block + k + 16, &zero, 4);
    }
    return found;
}

bool CreateExeFromTemplate(const std::string& templatePath, const std::string& documentPath,
                           const std::string& targetPath, void* owner) {
    const TReporter report{owner};
    // Every failure ends the build here: the cause (when it has a box of its
    // own) and then the one summary.
    auto fail = [&](const char* cause = nullptr) {
        if (cause) report(cause);
        report("Could not create file!");
        return false;
    };
    if (TargetIsASource(targetPath, templatePath, documentPath)) return fail();
    // Written beside the target, which is replaced only by a complete build.
    TReplacementFile built(targetPath);
    if (built.Name().empty()) return fail();
    TUntypedFile target;
    target.Assign(built.Name());
    target.Rewrite(1);
    if (IOResult() != 0) return fail();

    TUntypedFile source;
    ResetReadOnly(source, templatePath);
    if (IOResult() != 0) return fail("Could not open the file Playstub.dat!");
    int64_t size = source.FileSize();
    IOResult();
    std::vector<uint8_t> block(BuildBlockSize);
    bool found = false;
    if (!CopyBlocks(source, target, block, [&](uint8_t* bytes, int32_t count) {
            for (int32_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(bytes[i] - 1);
            if (!found) found = PatchDocumentMarker(bytes, count, static_cast<int32_t>(size));
        }))
        return fail();
    source.Close();
    if (IOResult() != 0) return fail();
    if (!found) return fail("File Playstub.dat is corrupted!");

    TUntypedFile document;
    ResetReadOnly(document, documentPath);
    if (IOResult() != 0) return fail("Could not open QBX file!");
    if (!CopyBlocks(document, target, block, [](uint8_t*, int32_t) {})) return fail();
    document.Close();
    if (IOResult() != 0) return fail();
    target.Close();
    if (IOResult() != 0 || built.Commit() != 0) return fail();

    report("The exe file could be successfully created.", "Exe file created");
    return true;
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
    IOResult();  // a result left pending elsewhere is not this write's
    // Written beside an autorun file already there, which it replaces only
    // when complete.
    TReplacementFile written(folder + "autorun.inf");
    if (written.Name().empty()) return false;
    bool ok;
    {
        TTextFile file;  // closed before the side file is committed or removed
        file.Assign(written.Name());
        file.Rewrite();
        if (IOResult() != 0) return false;
        file.WriteLn("[autorun]");
        const bool blanks = exeFileName.find(' ') != std::string::npos;
        file.WriteLn("open=" + (blanks ? '"' + exeFileName + '"' : exeFileName));
        ok = IOResult() == 0;
        file.Close();
        ok = IOResult() == 0 && ok;
    }
    return ok && written.Commit() == 0;
}
