// The binary form-stream reader: reading components from it (as a new root
// and into an existing form) and converting it to layout text. Only the
// class library's exceptions escape; text converted from a stream converts
// back to a stream that gives the same text.
#include <cstdint>
#include <string>

#include "classlib/core/exceptions.h"
#include "classlib/core/filer.h"
#include "classlib/core/filer_test_classes.h"
#include "fuzz/fuzz_support.h"

using namespace filertest;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string binary(reinterpret_cast<const char*>(data), size);
    ReadAsRootAndIntoForm(binary);
    std::string text;
    try {
        text = ObjectBinaryToText(binary);
    } catch (const Exception&) {
        return 0;
    }
    std::string back, again;
    try {
        back = ObjectTextToBinary(text);
        again = ObjectBinaryToText(back);
    } catch (const Exception& e) {
        std::fprintf(stderr, "%s\n", e.Message().c_str());
        fuzz::Fail("text converted from a form stream does not convert back");
    }
    fuzz::Check(again == text, "a form stream and its text differ after a round trip");
    return 0;
}
