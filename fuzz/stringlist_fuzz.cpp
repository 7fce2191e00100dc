// String lists loaded from bytes: loading equals setting the text; the
// text, the comma text and what is saved read back to the same items.
#include <cstdint>
#include <string>

#include "classlib/core/exceptions.h"
#include "classlib/core/streams.h"
#include "classlib/core/stringlist.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    auto loaded = MakeOwned<TStringList>();
    TStringStream stream(bytes);
    loaded->LoadFromStream(stream);

    auto fromText = MakeOwned<TStringList>();
    fromText->SetText(bytes);
    fuzz::Check(loaded->Equals(fromText.get()), "loading and setting the text differ");

    TStringStream saved;
    loaded->SaveToStream(saved);
    fuzz::Check(saved.DataString() == loaded->Text(), "saving wrote other bytes than the text");
    auto reloaded = MakeOwned<TStringList>();
    reloaded->SetText(loaded->Text());
    fuzz::Check(reloaded->Equals(loaded.get()), "the text does not read back to the same items");

    auto fromComma = MakeOwned<TStringList>();
    fromComma->SetCommaText(bytes);
    auto commaAgain = MakeOwned<TStringList>();
    commaAgain->SetCommaText(fromComma->CommaText());
    fuzz::Check(commaAgain->Equals(fromComma.get()), "the comma text does not read back to the same items");
    return 0;
}
