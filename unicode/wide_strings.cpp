#include "unicode/wide_strings.h"

#include <vector>

#include "classlib/core/class_builder.h"
#include "classlib/core/exceptions.h"
#include "classlib/core/scope_exit.h"
#include "classlib/core/streams.h"
#include "classlib/core/stringlist.h"
#include "classlib/core/strutils.h"
#include "unicode/ansi_strings.h"
#include "unicode/code_pages.h"
#include "unicode/text/utf8.h"
#include "unicode/text/wide_buffers.h"
#include "unicode/text/wide_format.h"
#include "unicode/uc_file_stream.h"
#include "unicode/wide_list_texts.h"
#include "unicode/wide_sysutils.h"

const TClassInfo& TUcStrings::StaticClass() {
    static const TClassInfo info = DefineClass<TUcStrings>("TUcStrings", &TPersistent::StaticClass(), [](auto& c) {
        PROPERTY(c, AnsiStrings).Stored(false);
    });
    return info;
}

TUcStrings::TUcStrings() : ansi_strings_(New<TAnsiStringsForWideStringsAdapter>(this, 0)) {}

TUcStrings::~TUcStrings() {
    ansi_strings_->Free();
}

void TUcStrings::Updating(const std::function<void()>& work) {
    BeginUpdate();
    TryFinally(work, [this] { EndUpdate(); });
}

void TUcStrings::BeginUpdate() {
    if (update_count_ == 0) SetUpdateState(true);
    ++update_count_;
}

void TUcStrings::EndUpdate() {
    if (--update_count_ == 0) SetUpdateState(false);
}

void TUcStrings::Put(int index, const std::wstring& s) {
    TObject* object = GetObject(index);
    Delete(index);
    InsertObject(index, s, object);
}

std::wstring TUcStrings::GetTextStr() const {
    int n = GetCount();
    std::vector<std::wstring> items;
    items.reserve(static_cast<size_t>(n));
    size_t length = 0;
    for (int i = 0; i < n; ++i) {
        items.push_back(Get(i));
        length += items.back().size() + 2;
    }
    std::wstring text;
    text.reserve(length);
    for (const std::wstring& item : items) {
        text += item;
        text += L"\r\n";
    }
    return text;
}

void TUcStrings::SetTextStr(const std::wstring& value) {
    Updating([&] {
        Clear();
        const wchar_t* p = value.c_str();
        const wchar_t* end = p + value.size();
        auto endsLine = [](wchar_t c) { return c == 0 || c == L'\n' || c == L'\r' || c == 0x2028; };
        while (p < end && *p != 0) {
            const wchar_t* start = p;
            while (p < end && !endsLine(*p)) ++p;
            Add(std::wstring(start, p));
            if (p < end && *p == L'\r') ++p;
            if (p < end && *p == L'\n') ++p;
            if (p < end && *p == 0x2028) ++p;
        }
    });
}

void TUcStrings::SetText(const wchar_t* text) {
    SetTextStr(text ? std::wstring(text) : std::wstring());
}

wchar_t* TUcStrings::GetText() const {
    return WideStrNew(GetTextStr().c_str());
}

int TUcStrings::Add(const std::wstring& s) {
    int index = GetCount();
    Insert(index, s);
    return index;
}

int TUcStrings::AddObject(const std::wstring& s, TObject* object) {
    int index = Add(s);
    PutObject(index, object);
    return index;
}

void TUcStrings::AddStrings(const TUcStrings* strings) {
    if (!strings) return;
    Updating([&] {
        int n = strings->GetCount();
        for (int i = 0; i < n; ++i) AddObject(strings->Get(i), strings->GetObject(i));
    });
}

void TUcStrings::InsertObject(int index, const std::wstring& s, TObject* object) {
    Insert(index, s);
    PutObject(index, object);
}

void TUcStrings::Exchange(int index1, int index2) {
    Updating([&] {
        std::wstring s = Get(index1);
        TObject* object = GetObject(index1);
        Put(index1, Get(index2));
        PutObject(index1, GetObject(index2));
        Put(index2, s);
        PutObject(index2, object);
    });
}

void TUcStrings::Move(int curIndex, int newIndex) {
    if (curIndex == newIndex) return;
    // Both places are checked first: the item is never lost between its
    // removal and a failed insertion.
    int n = GetCount();
    if (curIndex < 0 || curIndex >= n) Error(kUcListIndexError, curIndex);
    if (newIndex < 0 || newIndex >= n) Error(kUcListIndexError, newIndex);
    Updating([&] {
        std::wstring s = Get(curIndex);
        TObject* object = GetObject(curIndex);
        Delete(curIndex);
        InsertObject(newIndex, s, object);
    });
}

int TUcStrings::IndexOf(const std::wstring& s) const {
    int n = GetCount();
    for (int i = 0; i < n; ++i)
        if (CompareStrings(Get(i), s) == 0) return i;
    return -1;
}

int TUcStrings::IndexOfName(const std::wstring& name) const {
    wchar_t separator = NameValueSeparator();
    int n = GetCount();
    for (int i = 0; i < n; ++i) {
        std::wstring item = Get(i);
        size_t at = item.find(separator);
        if (at != std::wstring::npos && CompareStrings(item.substr(0, at), name) == 0) return i;
    }
    return -1;
}

int TUcStrings::IndexOfObject(TObject* object) const {
    int n = GetCount();
    for (int i = 0; i < n; ++i)
        if (GetObject(i) == object) return i;
    return -1;
}

int TUcStrings::CompareStrings(const std::wstring& a, const std::wstring& b) const {
    return WideCompareText(a, b);
}

bool TUcStrings::Equals(const TUcStrings* other) const {
    if (!other) return false;
    int n = GetCount();
    if (other->GetCount() != n) return false;
    for (int i = 0; i < n; ++i)
        if (Get(i) != other->Get(i)) return false;
    return true;
}

wchar_t TUcStrings::NameValueSeparator() const {
    if (!(defined_separators_ & kSeparatorDefined)) {
        name_value_separator_ = L'=';
        defined_separators_ |= kSeparatorDefined;
    }
    return name_value_separator_;
}

void TUcStrings::SetNameValueSeparator(wchar_t value) {
    name_value_separator_ = value;
    defined_separators_ |= kSeparatorDefined;
}

void TUcStrings::Error(const std::wstring& message, int data) const {
    throw EStringListError(WideToAnsi(WideFormat(message, {data})));
}

TAnsiStrings* TUcStrings::AnsiStrings() const {
    return ansi_strings_;
}

void TUcStrings::SetAnsiStrings(TAnsiStrings* value) {
    ansi_strings_->Assign(value);
}

void TUcStrings::Assign(const TPersistent* source) {
    if (auto* wide = dynamic_cast<const TUcStrings*>(source)) {
        if (wide == this) return;
        Updating([&] {
            Clear();
            defined_separators_ = wide->defined_separators_;
            further_separators_[0] = wide->further_separators_[0];
            further_separators_[1] = wide->further_separators_[1];
            name_value_separator_ = wide->name_value_separator_;
            AddStrings(wide);
        });
        return;
    }
    if (dynamic_cast<const TStrings*>(source)) {
        ansi_strings_->Assign(source);
        return;
    }
    inherited::Assign(source);
}

void TUcStrings::AssignTo(TPersistent* dest) const {
    if (auto* strings = dynamic_cast<TStrings*>(dest)) {
        strings->Assign(ansi_strings_);
        return;
    }
    inherited::AssignTo(dest);
}

void TUcStrings::LoadFromFile(const std::wstring& fileName) {
    TUcFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    last_file_encoding_ = DetectByteOrderMark(stream);
    stream.Seek(0, soBeginning);
    LoadFromStream(stream, true);
}

void TUcStrings::LoadFromStream(TStream& stream, bool detectMark) {
    Updating([&] {
        TTextEncoding encoding = detectMark ? DetectByteOrderMark(stream) : teUtf16LE;
        int64_t remaining = stream.Size() - stream.Position();
        if (remaining < 0) remaining = 0;
        auto bytes = static_cast<int32_t>(remaining);
        if (encoding == teUtf16LE || encoding == teUtf16BE) {
            std::wstring text;
            if (bytes >= 2) {
                std::vector<uint8_t> raw(static_cast<size_t>(bytes));
                stream.ReadBuffer(raw.data(), bytes);  // an odd last byte is read and dropped
                size_t units = raw.size() / 2;
                text.resize(units);
                for (size_t i = 0; i < units; ++i) {
                    uint8_t first = raw[2 * i], second = raw[2 * i + 1];
                    text[i] = static_cast<wchar_t>(encoding == teUtf16LE ? first | (second << 8) : (first << 8) | second);
                }
            }
            SetTextStr(text);
            return;
        }
        std::string raw(static_cast<size_t>(bytes), '\0');
        if (bytes > 0) stream.ReadBuffer(raw.data(), bytes);
        SetTextStr(encoding == teUtf8 ? Utf8ToWide(raw) : WideFromSystemAnsi(raw));
    });
}

void TUcStrings::SaveToFile(const std::wstring& fileName) const {
    TUcFileStream stream(fileName, fmCreate);
    SaveToStream(stream, true);
}

void TUcStrings::SaveToStream(TStream& stream, bool writeMark) const {
    if (writeMark) {
        static const uint8_t kMark[2] = {0xFF, 0xFE};
        stream.WriteBuffer(kMark, 2);
    }
    std::wstring text = GetTextStr();
    std::vector<uint8_t> bytes;
    bytes.reserve(text.size() * 2);
    for (wchar_t c : text) {
        bytes.push_back(static_cast<uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<uint8_t>((c >> 8) & 0xFF));
    }
    if (!bytes.empty()) stream.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
}
