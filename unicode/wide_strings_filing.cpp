#include "classlib/core/filer.h"
#include "unicode/code_pages.h"
#include "unicode/text/utf7.h"
#include "unicode/text/utf8.h"
#include "unicode/wide_filing.h"
#include "unicode/wide_strings.h"

namespace {

// One item of a list: 8-bit strings are ANSI text, wide ones stay.
std::wstring ReadItem(TReader* reader) {
    TValueType type = reader->NextValue();
    if (type == vaWString || type == vaUTF8String) return reader->ReadWideString();
    return WideFromSystemAnsi(reader->ReadString());
}

void SkipStringList(TReader* reader) {
    while (!reader->EndOfList()) reader->ReadString();
}

}  // namespace

void TUcStrings::DefineProperties(TFiler* filer) {
    auto readStrings = [this](TReader* reader) {
        switch (reader->NextValue()) {
        case vaString:
        case vaLString: SetTextStr(WideFromSystemAnsi(reader->ReadString())); return;
        case vaWString:
        case vaUTF8String: SetTextStr(reader->ReadWideString()); return;
        default: break;
        }
        reader->ReadListBegin();
        Updating([&] {
            Clear();
            while (!reader->EndOfList()) Add(ReadItem(reader));
        });
        reader->ReadListEnd();
    };

    bool hasStrings;
    if (TPersistent* ancestor = filer->Ancestor()) {
        auto* wide = dynamic_cast<TUcStrings*>(ancestor);
        hasStrings = !wide || !wide->Equals(this);
    } else {
        hasStrings = GetCount() > 0;
    }
    bool hasUtf7 = false;
    if (hasStrings) {
        for (int i = 0, n = GetCount(); i < n && !hasUtf7; ++i) {
            std::wstring item = Get(i);
            hasUtf7 = !item.empty() && NeedsMoreThan7Bits(item);
        }
    }

    filer->DefineProperty("Strings", readStrings, nullptr, false);
    filer->DefineProperty(
        "WideStrings", readStrings,
        [this](TWriter* writer) {
            writer->WriteListBegin();
            for (int i = 0, n = GetCount(); i < n; ++i) writer->WriteString(SystemAnsiFromWide(Get(i)));
            writer->WriteListEnd();
        },
        hasStrings);
    filer->DefineProperty(
        "WideStringsW",
        [this](TReader* reader) {
            reader->ReadListBegin();
            if (!UtfReadingEnabled(reader) && GetCount() > 0) {
                SkipStringList(reader);
            } else {
                Updating([&] {
                    Clear();
                    while (!reader->EndOfList()) Add(Utf8ToWide(reader->ReadString()));
                });
            }
            reader->ReadListEnd();
        },
        nullptr, false);
    filer->DefineProperty(
        "WideStrings_UTF7",
        [this](TReader* reader) {
            reader->ReadListBegin();
            if (UtfReadingEnabled(reader)) {
                Updating([&] {
                    Clear();
                    while (!reader->EndOfList()) Add(Utf7ToWide(reader->ReadString()));
                });
            } else {
                SkipStringList(reader);
            }
            reader->ReadListEnd();
        },
        [this](TWriter* writer) {
            writer->WriteListBegin();
            for (int i = 0, n = GetCount(); i < n; ++i) writer->WriteString(WideToUtf7(Get(i)));
            writer->WriteListEnd();
        },
        hasUtf7);
}
