// Wide string lists: the abstract TUcStrings and the array-backed
// TUcStringList. They mirror the class library's TStrings / TStringList
// operation for operation, with UTF-16 items, and read and write text
// files as Unicode (byte-order marks on load, UTF-16LE with a mark on save).
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "classlib/core/events.h"
#include "classlib/core/persistent.h"
#include "unicode/text/byte_order_mark.h"

class TStream;
class TStrings;
class TAnsiStrings;
class TAnsiStringsForWideStringsAdapter;

class TUcStrings : public TPersistent {
    DECLARE_CLASS(TUcStrings, TPersistent)
public:
    TUcStrings();
    ~TUcStrings() override;

    // What a descendant must supply.
    virtual std::wstring Get(int index) const = 0;
    virtual int GetCount() const = 0;
    virtual void Clear() = 0;
    virtual void Delete(int index) = 0;
    virtual void Insert(int index, const std::wstring& s) = 0;

    virtual int GetCapacity() const { return GetCount(); }
    virtual void SetCapacity(int capacity) {}
    virtual TObject* GetObject(int index) const { return nullptr; }
    virtual void PutObject(int index, TObject* object) {}
    virtual void Put(int index, const std::wstring& s);
    // Every item followed by CR LF.
    virtual std::wstring GetTextStr() const;
    // Lines end at U+0000, LF, CR or U+2028; CR LF U+2028 together end one
    // line; a final break adds no empty line.
    virtual void SetTextStr(const std::wstring& value);
    virtual int Add(const std::wstring& s);
    virtual int AddObject(const std::wstring& s, TObject* object);
    virtual void AddStrings(const TUcStrings* strings);
    virtual void Exchange(int index1, int index2);
    // A new zero-terminated copy of the text (release with WideStrDispose).
    virtual wchar_t* GetText() const;
    virtual int IndexOf(const std::wstring& s) const;
    virtual int IndexOfName(const std::wstring& name) const;
    virtual int IndexOfObject(TObject* object) const;
    virtual void InsertObject(int index, const std::wstring& s, TObject* object);
    // Detects the byte-order mark (LastFileEncoding) and loads the text.
    virtual void LoadFromFile(const std::wstring& fileName);
    // With detectMark the mark decides the encoding; without, the rest of
    // the stream is UTF-16LE.
    virtual void LoadFromStream(TStream& stream, bool detectMark = true);
    // Moves an item; both indices are checked before anything changes.
    virtual void Move(int curIndex, int newIndex);
    // Always UTF-16LE with a mark.
    virtual void SaveToFile(const std::wstring& fileName) const;
    virtual void SaveToStream(TStream& stream, bool writeMark = true) const;
    virtual void SetText(const wchar_t* text);

    int Count() const { return GetCount(); }
    std::wstring Strings(int index) const { return Get(index); }
    TObject* Objects(int index) const { return GetObject(index); }
    std::wstring Text() const { return GetTextStr(); }
    int Capacity() const { return GetCapacity(); }

    void BeginUpdate();
    void EndUpdate();
    // Same count and the same code units item by item (case counts).
    bool Equals(const TUcStrings* other) const;
    // "=" until set.
    wchar_t NameValueSeparator() const;
    void SetNameValueSeparator(wchar_t value);
    // Raises EStringListError with message formatted with data.
    [[noreturn]] void Error(const std::wstring& message, int data) const;

    // The list seen as ANSI strings (system code page unless the layer's
    // default says otherwise); assigning copies into that view.
    TAnsiStrings* AnsiStrings() const;
    void SetAnsiStrings(TAnsiStrings* value);
    TTextEncoding LastFileEncoding() const { return last_file_encoding_; }

    // From wide lists (items, objects, separators), from the class
    // library's string lists (through the ANSI view), else inherited.
    void Assign(const TPersistent* source) override;
    // The items in form layouts: "WideStrings" as ANSI text and, when an
    // item has characters beyond 7 bits, "WideStrings_UTF7" after it;
    // "Strings" and "WideStringsW" of earlier layouts are read.
    void DefineProperties(TFiler* filer) override;

protected:
    friend class TAnsiStringsForWideStringsAdapter;
    virtual void SetUpdateState(bool updating) {}
    virtual int CompareStrings(const std::wstring& a, const std::wstring& b) const;
    void AssignTo(TPersistent* dest) const override;
    int UpdateCount() const { return update_count_; }
    // Runs work within BeginUpdate / EndUpdate, ending the update on every path.
    void Updating(const std::function<void()>& work);

private:
    enum : uint8_t { kSeparatorDefined = 4 };
    TAnsiStringsForWideStringsAdapter* ansi_strings_;
    TTextEncoding last_file_encoding_ = teUtf16LE;
    mutable uint8_t defined_separators_ = 0;
    wchar_t further_separators_[2] = {0, 0};
    mutable wchar_t name_value_separator_ = 0;
    int update_count_ = 0;
};

enum TUcDuplicates : uint8_t { ucDupIgnore, ucDupAccept, ucDupError };

class TUcStringList;
// <0, 0, >0 as the item at index1 sorts before, with or after that at index2.
using TUcStringListSortCompare = std::function<int(TUcStringList* list, int index1, int index2)>;

class TUcStringList : public TUcStrings {
    DECLARE_CLASS(TUcStringList, TUcStrings)
public:
    ~TUcStringList() override;

    std::wstring Get(int index) const override;
    int GetCount() const override { return count_; }
    void Clear() override;
    void Delete(int index) override;
    void Insert(int index, const std::wstring& s) override { InsertObject(index, s, nullptr); }
    int GetCapacity() const override { return static_cast<int>(list_.size()); }
    // Below Count raises the list error: it would drop items.
    void SetCapacity(int capacity) override;
    TObject* GetObject(int index) const override;
    void PutObject(int index, TObject* object) override;
    void Put(int index, const std::wstring& s) override;
    int Add(const std::wstring& s) override { return AddObject(s, nullptr); }
    int AddObject(const std::wstring& s, TObject* object) override;
    void Exchange(int index1, int index2) override;
    int IndexOf(const std::wstring& s) const override;
    int IndexOfName(const std::wstring& name) const override;
    void InsertObject(int index, const std::wstring& s, TObject* object) override;
    void Move(int curIndex, int newIndex) override;

    // Binary search by CompareStrings: true when found; index is the match
    // (with duplicates accepted the first of a run of equals) or the place
    // to insert.
    virtual bool Find(const std::wstring& s, int& index) const;
    // Both do nothing on a sorted list or one of fewer than two items.
    virtual void Sort();
    virtual void CustomSort(const TUcStringListSortCompare& compare);

    bool Sorted() const { return sorted_; }
    // Becoming sorted sorts the items.
    void SetSorted(bool value);
    TUcDuplicates Duplicates() const { return duplicates_; }
    void SetDuplicates(TUcDuplicates value) { duplicates_ = value; }
    bool CaseSensitive() const { return case_sensitive_; }
    // A sorted list is sorted again by the new rule.
    void SetCaseSensitive(bool value);

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    virtual void Changed();
    virtual void Changing();
    virtual void InsertItem(int index, const std::wstring& s, TObject* object);
    void SetUpdateState(bool updating) override;
    int CompareStrings(const std::wstring& a, const std::wstring& b) const override;

private:
    struct TItem {
        std::wstring String;
        TObject* Object = nullptr;
    };
    void CheckIndex(int index) const;
    [[noreturn]] void SortedListError() const;
    void Grow();
    void QuickSort(int l, int r, const TUcStringListSortCompare& compare);
    void SortItems(const TUcStringListSortCompare& compare);

    std::vector<TItem> list_;  // Capacity items, the first count_ in use
    int count_ = 0;
    bool sorted_ = false;
    TUcDuplicates duplicates_ = ucDupIgnore;
    bool case_sensitive_ = false;
};
