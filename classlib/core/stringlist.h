// String lists: the abstract TStrings and the concrete TStringList. Items
// are ANSI byte strings, binary-safe (zero bytes and any byte values stay),
// each with an associated object the list does not own.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "classlib/core/events.h"
#include "classlib/core/persistent.h"

class TReader;
class TStream;
class TWriter;

struct TStringItem {
    std::string String;
    TObject* Object = nullptr;
};

class TStrings : public TPersistent {
    DECLARE_CLASS(TStrings, TPersistent)
public:
    // What a descendant must supply.
    virtual int Count() const = 0;
    virtual std::string Strings(int index) const = 0;
    virtual void Insert(int index, const std::string& s) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;

    // Defaults built on the above; descendants override them for speed.
    virtual void Put(int index, const std::string& s);
    virtual TObject* Objects(int index) const { return nullptr; }
    virtual void PutObject(int index, TObject* object) {}
    virtual int Add(const std::string& s);
    virtual int AddObject(const std::string& s, TObject* object);
    void Append(const std::string& s) { Add(s); }
    virtual void InsertObject(int index, const std::string& s, TObject* object);
    // Adds the items of strings (this list too) with their objects.
    virtual void AddStrings(const TStrings* strings);
    virtual void Exchange(int index1, int index2);
    virtual void Move(int curIndex, int newIndex);
    virtual int IndexOf(const std::string& s) const;
    virtual int IndexOfObject(TObject* object) const;
    virtual int Capacity() const { return Count(); }
    virtual void SetCapacity(int capacity) {}

    // name=value items. Names(i) is the text before the first '=' ("" when
    // the item has none); IndexOfName skips items without '='.
    virtual int IndexOfName(const std::string& name) const;
    std::string Names(int index) const;
    std::string Values(const std::string& name) const;
    // Replaces the value of the first item with that name, adds the item
    // when there is none; an empty value deletes the item.
    void SetValue(const std::string& name, const std::string& value);

    // Every item followed by CR LF.
    virtual std::string Text() const;
    // Lines end at CR LF, LF or a lone CR; a last line without a break
    // counts, a final break adds no empty line.
    virtual void SetText(const std::string& text);
    // Items separated by commas; items holding blanks, control characters,
    // commas or quotes are double-quoted (quotes doubled inside). Reading
    // also splits unquoted items at blanks.
    std::string CommaText() const;
    void SetCommaText(const std::string& text);
    // The same with Delimiter and QuoteChar.
    std::string DelimitedText() const;
    void SetDelimitedText(const std::string& text);
    char Delimiter() const { return delimiter_; }
    void SetDelimiter(char value) { delimiter_ = value; }
    char QuoteChar() const { return quote_char_; }
    void SetQuoteChar(char value) { quote_char_ = value; }

    // Nestable; SetUpdateState(true) on the outermost BeginUpdate,
    // SetUpdateState(false) on its EndUpdate.
    void BeginUpdate();
    void EndUpdate();

    // Same count and the same bytes item by item (case counts).
    bool Equals(const TStrings* strings) const;
    // From any TStrings: its strings and objects replace this list's.
    void Assign(const TPersistent* source) override;

    // The text from the stream's position to its end; a short read raises
    // EReadError and leaves the list as it was.
    virtual void LoadFromStream(TStream& stream);
    virtual void SaveToStream(TStream& stream) const;
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName) const;

    // Files the items as the defined property "Strings", a list of strings.
    void DefineProperties(TFiler* filer) override;

protected:
    virtual void SetUpdateState(bool updating) {}
    int UpdateCount() const { return update_count_; }
    // Compares items for IndexOf and IndexOfName: CompareText by default.
    virtual int CompareStrings(const std::string& s1, const std::string& s2) const;

    // Copies of all items with their objects.
    std::vector<TStringItem> ItemsCopy() const;
    // Replaces the whole content (Text, CommaText, Assign, loading). The
    // default clears and adds within an update.
    virtual void ReplaceItems(std::vector<TStringItem> items);
    // Runs work within BeginUpdate / EndUpdate, ending the update also
    // when work throws.
    void Updating(const std::function<void()>& work);
    void CheckIndex(int index) const;

private:
    bool StoresItems(const TPersistent* ancestor) const;
    void ReadItems(TReader& reader);
    void WriteItems(TWriter& writer) const;

    int update_count_ = 0;
    char delimiter_ = ',';
    char quote_char_ = '"';
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList;
// <0, 0, >0 as the item at index1 sorts before, with or after that at index2.
using TStringListSortCompare = std::function<int(TStringList* list, int index1, int index2)>;

// The concrete list. Sorted lists keep their order by CompareStrings
// (CompareText, or byte order with CaseSensitive), find items by binary
// search and refuse operations that would place an item (Insert, Put,
// Exchange, Move). OnChanging / OnChange fire around every change, except
// inside BeginUpdate .. EndUpdate, which fires each once.
class TStringList : public TStrings {
    DECLARE_CLASS(TStringList, TStrings)
public:
    int Count() const override { return static_cast<int>(items_.size()); }
    std::string Strings(int index) const override;
    void Put(int index, const std::string& s) override;
    TObject* Objects(int index) const override;
    void PutObject(int index, TObject* object) override;
    int Add(const std::string& s) override { return AddObject(s, nullptr); }
    int AddObject(const std::string& s, TObject* object) override;
    void Insert(int index, const std::string& s) override { InsertObject(index, s, nullptr); }
    void InsertObject(int index, const std::string& s, TObject* object) override;
    void Delete(int index) override;
    void Clear() override;
    void Exchange(int index1, int index2) override;
    void Move(int curIndex, int newIndex) override;
    int IndexOf(const std::string& s) const override;
    int Capacity() const override { return static_cast<int>(items_.capacity()); }
    // Below Count raises EListError: it would drop items.
    void SetCapacity(int capacity) override;

    // True when s is in the list; index is its first place, or where Add
    // would put it. Binary search when Sorted, linear otherwise.
    bool Find(const std::string& s, int& index) const;
    // Sort and CustomSort order an unsorted list once; on a sorted list
    // they do nothing (it is in order, and another order would mislead
    // Find).
    void Sort();
    void CustomSort(const TStringListSortCompare& compare);

    bool Sorted() const { return sorted_; }
    void SetSorted(bool value);
    // Applies to sorted lists only; existing duplicates stay.
    TDuplicates Duplicates() const { return duplicates_; }
    void SetDuplicates(TDuplicates value) { duplicates_ = value; }
    bool CaseSensitive() const { return case_sensitive_; }
    void SetCaseSensitive(bool value);

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    virtual void Changed();
    virtual void Changing();
    void SetUpdateState(bool updating) override;
    int CompareStrings(const std::string& s1, const std::string& s2) const override;
    void ReplaceItems(std::vector<TStringItem> items) override;

private:
    void InsertItem(int index, const std::string& s, TObject* object);
    void CheckUnsorted() const;
    void SortByStrings();
    void SortItems(const std::function<int(int, int)>& compare);

    std::vector<TStringItem> items_;
    bool sorted_ = false;
    bool case_sensitive_ = false;
    TDuplicates duplicates_ = dupIgnore;
};
