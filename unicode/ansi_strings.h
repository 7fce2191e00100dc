// The ANSI view of a wide string list: a class-library string list whose
// items are converted with a code page as they are read and written.
#pragma once
#include <cstdint>

#include "classlib/core/stringlist.h"

class TUcStrings;

class TAnsiStrings : public TStrings {
    DECLARE_CLASS(TAnsiStrings, TStrings)
public:
    // The bytes from the stream's position to its end, converted, become
    // the text.
    virtual void LoadFromStreamWithCodePage(TStream& stream, uint32_t codePage) = 0;
    // The text converted, no mark.
    virtual void SaveToStreamWithCodePage(TStream& stream, uint32_t codePage) const = 0;
};

class TAnsiStringsForWideStringsAdapter : public TAnsiStrings {
    DECLARE_CLASS(TAnsiStringsForWideStringsAdapter, TAnsiStrings)
public:
    // codePage 0: the layer's default ANSI code page.
    TAnsiStringsForWideStringsAdapter(TUcStrings* wideStrings, uint32_t codePage);

    int Count() const override;
    std::string Strings(int index) const override;
    void Put(int index, const std::string& s) override;
    void Insert(int index, const std::string& s) override;
    void Delete(int index) override;
    void Clear() override;
    TObject* Objects(int index) const override;
    void PutObject(int index, TObject* object) override;

    void LoadFromStreamWithCodePage(TStream& stream, uint32_t codePage) override;
    void SaveToStreamWithCodePage(TStream& stream, uint32_t codePage) const override;

protected:
    void SetUpdateState(bool updating) override;
    virtual uint32_t AdapterCodePage() const;

private:
    TUcStrings* wide_strings_;
    uint32_t code_page_;
};
