// Layout text to the binary form stream and back: text that converts gives
// a stream whose text converts to the very same stream.
#include <cstdint>
#include <string>

#include "classlib/core/exceptions.h"
#include "classlib/core/filer.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string binary;
    try {
        binary = ObjectTextToBinary(text);
    } catch (const Exception&) {
        return 0;
    }
    std::string back;
    try {
        back = ObjectTextToBinary(ObjectBinaryToText(binary));
    } catch (const Exception& e) {
        std::fprintf(stderr, "%s\n", e.Message().c_str());
        fuzz::Fail("the text of a converted layout does not convert back");
    }
    fuzz::Check(back == binary, "a layout's stream changed on its way through text");
    return 0;
}
