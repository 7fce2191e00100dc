// Writing a file that takes another's place only once it is complete. The
// content goes to a fresh file beside the destination (in its folder, so
// the last step is a rename); Commit puts it in the destination's place.
// Until then, and after any failure, the destination stays exactly as it
// was, and a side file that was not committed is removed.
#pragma once
#include <string>

class TReplacementFile {
public:
    explicit TReplacementFile(const std::string& destination);
    ~TReplacementFile();
    TReplacementFile(const TReplacementFile&) = delete;
    TReplacementFile& operator=(const TReplacementFile&) = delete;

    // The side file to write, created empty; "" when the destination's
    // folder takes no new file (missing, read-only, full).
    const std::string& Name() const { return name_; }
    // Replaces the destination (or creates it) by the closed side file: 0,
    // or the system's error code. The side file is gone either way.
    int Commit();

private:
    std::string destination_, name_;
};
