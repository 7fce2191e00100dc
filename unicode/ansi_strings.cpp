#include "unicode/ansi_strings.h"

#include "classlib/core/class_builder.h"
#include "classlib/core/streams.h"
#include "unicode/code_pages.h"
#include "unicode/wide_strings.h"

const TClassInfo& TAnsiStrings::StaticClass() {
    static const TClassInfo info = DefineClass<TAnsiStrings>("TAnsiStrings", &TStrings::StaticClass(), [](auto&) {});
    return info;
}

const TClassInfo& TAnsiStringsForWideStringsAdapter::StaticClass() {
    static const TClassInfo info = DefineClass<TAnsiStringsForWideStringsAdapter>(
        "TAnsiStringsForWideStringsAdapter", &TAnsiStrings::StaticClass(), [](auto&) {});
    return info;
}

TAnsiStringsForWideStringsAdapter::TAnsiStringsForWideStringsAdapter(TUcStrings* wideStrings, uint32_t codePage)
    : wide_strings_(wideStrings), code_page_(codePage) {}

uint32_t TAnsiStringsForWideStringsAdapter::AdapterCodePage() const {
    return code_page_ != 0 ? code_page_ : DefaultAnsiCodePage;
}

int TAnsiStringsForWideStringsAdapter::Count() const {
    return wide_strings_->GetCount();
}

std::string TAnsiStringsForWideStringsAdapter::Strings(int index) const {
    return WideToStringWithCodePage(wide_strings_->Get(index), AdapterCodePage());
}

void TAnsiStringsForWideStringsAdapter::Put(int index, const std::string& s) {
    wide_strings_->Put(index, StringToWideWithCodePage(s, AdapterCodePage()));
}

void TAnsiStringsForWideStringsAdapter::Insert(int index, const std::string& s) {
    wide_strings_->Insert(index, StringToWideWithCodePage(s, AdapterCodePage()));
}

void TAnsiStringsForWideStringsAdapter::Delete(int index) {
    wide_strings_->Delete(index);
}

void TAnsiStringsForWideStringsAdapter::Clear() {
    wide_strings_->Clear();
}

TObject* TAnsiStringsForWideStringsAdapter::Objects(int index) const {
    return wide_strings_->GetObject(index);
}

void TAnsiStringsForWideStringsAdapter::PutObject(int index, TObject* object) {
    wide_strings_->PutObject(index, object);
}

void TAnsiStringsForWideStringsAdapter::SetUpdateState(bool updating) {
    wide_strings_->SetUpdateState(updating);
}

void TAnsiStringsForWideStringsAdapter::LoadFromStreamWithCodePage(TStream& stream, uint32_t codePage) {
    Updating([&] {
        int64_t remaining = stream.Size() - stream.Position();
        std::string bytes(static_cast<size_t>(remaining > 0 ? remaining : 0), '\0');
        if (!bytes.empty()) stream.ReadBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
        wide_strings_->SetTextStr(StringToWideWithCodePage(bytes, codePage));
    });
}

void TAnsiStringsForWideStringsAdapter::SaveToStreamWithCodePage(TStream& stream, uint32_t codePage) const {
    std::string bytes = WideToStringWithCodePage(wide_strings_->GetTextStr(), codePage);
    if (!bytes.empty()) stream.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
}
