// Wide text in form layouts. The form stream's strings are 8-bit, so every
// published wide-string or wide-character property P of a component that
// asks for it gets two companions: "PW" (UTF-8, read only) and "P_UTF7"
// (UTF-7, written when the value has characters beyond 7 bits). Wide string
// lists file their items as "Strings", "WideStrings", "WideStringsW" and
// "WideStrings_UTF7".
#pragma once
#include <string>

#include "classlib/core/filer.h"

// Whether layouts read at run time take the UTF companions; set by
// StartWideStringFiling.
extern bool UtfStreamingAtRunTime;
void StartWideStringFiling();

// The companions are decoded only by a reader with an owner: always while
// the owner is being designed, else when UtfStreamingAtRunTime is set.
bool UtfReadingEnabled(const TReader* reader);
// A text with characters beyond 7 bits: its UTF-8 bytes read back as ANSI
// text are not the text any more, so it is stored as UTF-7.
bool NeedsMoreThan7Bits(const std::wstring& text);

// The value of a published wide-string property through its record.
std::wstring GetWideStrPropValue(const TObject& instance, const TPropInfo& prop);
void SetWideStrPropValue(TObject& instance, const TPropInfo& prop, const std::wstring& value);

// Defines the companions of every published wide-string and wide-character
// property of instance; call from DefineProperties.
void DefineWideProperties(TFiler* filer, TPersistent* instance);

// The companions of one wide-string property.
class TUcWideStringPropertyFiler : public TObject {
public:
    void DefineProperties(TFiler* filer, TPersistent* instance, const TPropInfo& prop);

private:
    void ReadDataUtf8(TReader* reader);
    void ReadDataUtf7(TReader* reader);
    void WriteDataUtf7(TWriter* writer);
    bool HasDataUtf7(TFiler* filer) const;

    TPersistent* instance_ = nullptr;
    const TPropInfo* prop_ = nullptr;
};

// The companions of one wide-character property.
class TUcWideCharPropertyFiler : public TObject {
public:
    void DefineProperties(TFiler* filer, TPersistent* instance, const TPropInfo& prop);

private:
    void ReadDataW(TReader* reader);
    void WriteDataW(TWriter* writer);
    void ReadDataUtf7(TReader* reader);
    bool HasDataW(TWriter* writer);
    bool IsDefaultValue(wchar_t value) const;

    TPersistent* instance_ = nullptr;
    const TPropInfo* prop_ = nullptr;
    TWriter* writer_ = nullptr;
};
