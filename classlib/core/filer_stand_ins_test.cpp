// Stand-ins for the TReader / TWriter calls that TStrings' filing makes, so
// that this test executable links while the library has no reader and
// writer yet. No test calls them. Delete this file once TReader and TWriter
// are implemented in the library (the linker then finds them twice).
#include "exceptions.h"
#include "filer.h"

namespace {
[[noreturn]] void NoFiler() {
    throw EFilerError("TReader/TWriter are not part of this build");
}
}  // namespace

void TReader::ReadListBegin() { NoFiler(); }
bool TReader::EndOfList() { NoFiler(); }
std::string TReader::ReadString() { NoFiler(); }
void TReader::ReadListEnd() { NoFiler(); }
void TWriter::WriteListBegin() { NoFiler(); }
void TWriter::WriteString(const std::string&) { NoFiler(); }
void TWriter::WriteListEnd() { NoFiler(); }
