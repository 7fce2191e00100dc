// Text files as the classic runtime has them: output line by line with
// CR LF, and minimal line input. Failures are stored in InOutRes like those
// of untyped files (see io_result.h); nothing raises.
#pragma once
#include <string>
#include <vector>

#include "classlib/core/file_backend.h"
#include "classlib/core/io_result.h"

class TTextFile {
public:
    TTextFile() = default;
    TTextFile(const TTextFile&) = delete;
    TTextFile& operator=(const TTextFile&) = delete;
    // Closes an open file; errors are ignored, so every path closes it.
    ~TTextFile();

    // Names the file; an open file is closed first rather than leaked.
    void Assign(const std::string& name);
    // Output: a new or truncated file, or the end of an existing one.
    void Rewrite();
    void Append();
    // Input from an existing file (read only, whatever FileMode says).
    void Reset();

    // Output goes straight to the file, so a failure shows at the call.
    void Write(const std::string& text);
    void WriteLn(const std::string& text = std::string());
    // The next line without its break (CR LF, LF or a lone CR); "" at the
    // end of the file, where a last line need not end with a break.
    void ReadLn(std::string& line);
    // True when no input is left (and for files not open for input).
    bool Eof();
    void Close();

    bool IsOpen() const { return handle_ != FileBackend::kNoHandle; }
    const std::string& Name() const { return name_; }

private:
    enum class TMode { Closed, Input, Output };
    bool Opened(int error, FileBackend::Handle handle, TMode mode);
    void CloseQuietly();
    // Whether buffered input is available, reading more when needed.
    bool HaveInput();

    std::string name_;
    FileBackend::Handle handle_ = FileBackend::kNoHandle;
    TMode mode_ = TMode::Closed;
    std::vector<char> buffer_;
    size_t buffer_pos_ = 0, buffer_end_ = 0;
};
