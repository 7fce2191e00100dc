// Writing a file that takes another's place only once it is complete. The
// content goes to a fresh file beside the destination (in its folder, so
// the last step is a rename); Commit puts it in the destination's place,
// keeping the marks the destination had (hidden, system). Until then, and
// after any failure, the destination stays exactly as it was, and a side
// file that was not committed is removed.
//
// A destination that may not be written is never replaced, though a rename
// would pass over it: one marked read-only (also for a user, such as an
// administrator, whom the system would let write it anyway) and one that
// cannot be opened for writing (in use, a folder, not this user's to
// write).
#pragma once
#include <string>

class TReplacementFile {
public:
    explicit TReplacementFile(const std::string& destination);
    ~TReplacementFile();
    TReplacementFile(const TReplacementFile&) = delete;
    TReplacementFile& operator=(const TReplacementFile&) = delete;

    // The side file to write, created empty; "" when the destination may
    // not be written or its folder takes no new file (missing, read-only,
    // full).
    const std::string& Name() const { return name_; }
    // Replaces the destination (or creates it) by the closed side file: 0,
    // or the system's error code. The side file is gone either way.
    int Commit();

private:
    std::string destination_, name_;
};
