#include "classlib/core/stringlist.h"

#include <algorithm>

#include "classlib/core/class_builder.h"
#include "classlib/core/exceptions.h"
#include "classlib/core/filer.h"
#include "classlib/core/listalgo.h"
#include "classlib/core/lists.h"
#include "classlib/core/resstrings.h"
#include "classlib/core/scope_exit.h"
#include "classlib/core/streams.h"
#include "classlib/core/strutils.h"

namespace {

// Blanks and control characters (zero bytes included) separate unquoted
// delimited items.
bool IsBlank(char ch) {
    return static_cast<unsigned char>(ch) <= ' ';
}

std::string JoinDelimited(const std::vector<TStringItem>& items, char delimiter, char quote) {
    std::string text;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i > 0) text += delimiter;
        const std::string& s = items[i].String;
        bool plain = !s.empty() && std::none_of(s.begin(), s.end(), [&](char ch) {
            return IsBlank(ch) || ch == delimiter || ch == quote;
        });
        if (plain) {
            text += s;
            continue;
        }
        text += quote;
        for (char ch : s) {
            text += ch;
            if (ch == quote) text += quote;
        }
        text += quote;
    }
    return text;
}

std::vector<TStringItem> SplitDelimited(const std::string& text, char delimiter, char quote) {
    std::vector<TStringItem> items;
    const size_t n = text.size();
    size_t p = 0;
    auto skipBlanks = [&] {
        while (p < n && IsBlank(text[p])) ++p;
    };
    skipBlanks();
    while (p < n) {
        std::string item;
        if (text[p] == quote) {
            // Quoted: doubled quotes stand for one; an unclosed quote runs
            // to the end.
            for (++p; p < n; ++p) {
                if (text[p] == quote) {
                    if (p + 1 < n && text[p + 1] == quote) {
                        ++p;
                    } else {
                        ++p;
                        break;
                    }
                }
                item += text[p];
            }
        } else {
            size_t start = p;
            while (p < n && !IsBlank(text[p]) && text[p] != delimiter) ++p;
            item.assign(text, start, p - start);
        }
        items.push_back({std::move(item), nullptr});
        skipBlanks();
        if (p < n && text[p] == delimiter) {
            if (++p == n) items.push_back({});  // a trailing delimiter ends an empty item
            skipBlanks();
        }
    }
    return items;
}

std::vector<TStringItem> SplitLines(const std::string& text) {
    std::vector<TStringItem> lines;
    const size_t n = text.size();
    size_t p = 0;
    while (p < n) {
        size_t start = p;
        while (p < n && text[p] != '\r' && text[p] != '\n') ++p;
        lines.push_back({text.substr(start, p - start), nullptr});
        if (p < n && text[p] == '\r') ++p;
        if (p < n && text[p] == '\n') ++p;
    }
    return lines;
}

// Stream calls take int32 counts; large texts go in chunks.
constexpr int32_t kStreamChunk = 1 << 20;

}  // namespace

// ---- TStrings ---------------------------------------------------------

const TClassInfo& TStrings::StaticClass() {
    static const TClassInfo info = DefineClass<TStrings>("TStrings", &TPersistent::StaticClass(), [](auto&) {});
    return info;
}

void TStrings::CheckIndex(int index) const {
    if (index < 0 || index >= Count()) RaiseListError(SListIndexError, index);
}

void TStrings::Put(int index, const std::string& s) {
    TObject* object = Objects(index);
    Updating([&] {
        Delete(index);
        InsertObject(index, s, object);
    });
}

int TStrings::Add(const std::string& s) {
    int index = Count();
    Insert(index, s);
    return index;
}

int TStrings::AddObject(const std::string& s, TObject* object) {
    int index = Add(s);
    PutObject(index, object);
    return index;
}

void TStrings::InsertObject(int index, const std::string& s, TObject* object) {
    Insert(index, s);
    PutObject(index, object);
}

void TStrings::AddStrings(const TStrings* strings) {
    if (!strings) return;
    // A copy first: strings may be this list, growing as we add.
    std::vector<TStringItem> items = strings->ItemsCopy();
    Updating([&] {
        for (const TStringItem& item : items) AddObject(item.String, item.Object);
    });
}

void TStrings::Exchange(int index1, int index2) {
    CheckIndex(index1);
    CheckIndex(index2);
    Updating([&] {
        std::string s = Strings(index1);
        TObject* object = Objects(index1);
        Put(index1, Strings(index2));
        PutObject(index1, Objects(index2));
        Put(index2, s);
        PutObject(index2, object);
    });
}

void TStrings::Move(int curIndex, int newIndex) {
    // Both checked before the item leaves its place, so a bad target
    // cannot lose it.
    CheckIndex(curIndex);
    CheckIndex(newIndex);
    if (curIndex == newIndex) return;
    Updating([&] {
        std::string s = Strings(curIndex);
        TObject* object = Objects(curIndex);
        Delete(curIndex);
        InsertObject(newIndex, s, object);
    });
}

int TStrings::IndexOf(const std::string& s) const {
    for (int i = 0; i < Count(); ++i)
        if (CompareStrings(Strings(i), s) == 0) return i;
    return -1;
}

int TStrings::IndexOfObject(TObject* object) const {
    for (int i = 0; i < Count(); ++i)
        if (Objects(i) == object) return i;
    return -1;
}

int TStrings::IndexOfName(const std::string& name) const {
    for (int i = 0; i < Count(); ++i) {
        std::string s = Strings(i);
        size_t eq = s.find('=');
        if (eq != std::string::npos && CompareStrings(s.substr(0, eq), name) == 0) return i;
    }
    return -1;
}

std::string TStrings::Names(int index) const {
    std::string s = Strings(index);
    size_t eq = s.find('=');
    return eq == std::string::npos ? std::string() : s.substr(0, eq);
}

std::string TStrings::Values(const std::string& name) const {
    int index = IndexOfName(name);
    if (index < 0) return std::string();
    std::string s = Strings(index);
    return s.substr(s.find('=') + 1);
}

void TStrings::SetValue(const std::string& name, const std::string& value) {
    int index = IndexOfName(name);
    if (value.empty()) {
        if (index >= 0) Delete(index);
        return;
    }
    // A new item is added whole: adding an empty item first and filling it
    // in would leave the empty one behind where Put is refused.
    std::string item = name + '=' + value;
    if (index < 0) Add(item);
    else Put(index, item);
}

std::string TStrings::Text() const {
    std::string text;
    for (int i = 0; i < Count(); ++i) {
        text += Strings(i);
        text += "\r\n";
    }
    return text;
}

void TStrings::SetText(const std::string& text) {
    ReplaceItems(SplitLines(text));
}

std::string TStrings::CommaText() const {
    return JoinDelimited(ItemsCopy(), ',', '"');
}

void TStrings::SetCommaText(const std::string& text) {
    ReplaceItems(SplitDelimited(text, ',', '"'));
}

std::string TStrings::DelimitedText() const {
    return JoinDelimited(ItemsCopy(), delimiter_, quote_char_);
}

void TStrings::SetDelimitedText(const std::string& text) {
    ReplaceItems(SplitDelimited(text, delimiter_, quote_char_));
}

void TStrings::BeginUpdate() {
    if (update_count_ == 0) SetUpdateState(true);
    ++update_count_;
}

void TStrings::EndUpdate() {
    // An unmatched EndUpdate must not push the count below zero, which
    // would silence every later notification.
    if (update_count_ == 0) return;
    if (--update_count_ == 0) SetUpdateState(false);
}

void TStrings::Updating(const std::function<void()>& work) {
    WhileUpdating(*this, work);
}

bool TStrings::Equals(const TStrings* strings) const {
    if (!strings) return false;
    if (strings == this) return true;
    int n = Count();
    if (strings->Count() != n) return false;
    for (int i = 0; i < n; ++i)
        if (Strings(i) != strings->Strings(i)) return false;
    return true;
}

void TStrings::Assign(const TPersistent* source) {
    if (auto* strings = dynamic_cast<const TStrings*>(source)) {
        ReplaceItems(strings->ItemsCopy());
        return;
    }
    TPersistent::Assign(source);
}

std::vector<TStringItem> TStrings::ItemsCopy() const {
    std::vector<TStringItem> items;
    int n = Count();
    items.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) items.push_back({Strings(i), Objects(i)});
    return items;
}

void TStrings::ReplaceItems(std::vector<TStringItem> items) {
    Updating([&] {
        Clear();
        for (const TStringItem& item : items) AddObject(item.String, item.Object);
    });
}

int TStrings::CompareStrings(const std::string& s1, const std::string& s2) const {
    return CompareText(s1, s2);
}

void TStrings::LoadFromStream(TStream& stream) {
    // All of it is read before the list changes.
    int64_t remaining = stream.Size() - stream.Position();
    std::string text;
    if (remaining > 0) {
        text.resize(static_cast<size_t>(remaining));
        for (size_t done = 0; done < text.size();) {
            int32_t n = static_cast<int32_t>(std::min<size_t>(text.size() - done, kStreamChunk));
            stream.ReadBuffer(&text[done], n);
            done += static_cast<size_t>(n);
        }
    }
    SetText(text);
}

void TStrings::SaveToStream(TStream& stream) const {
    std::string text = Text();
    for (size_t done = 0; done < text.size();) {
        int32_t n = static_cast<int32_t>(std::min<size_t>(text.size() - done, kStreamChunk));
        stream.WriteBuffer(text.data() + done, n);
        done += static_cast<size_t>(n);
    }
}

void TStrings::LoadFromFile(const std::string& fileName) {
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file);
}

void TStrings::SaveToFile(const std::string& fileName) const {
    TFileStream file(fileName, fmCreate);
    SaveToStream(file);
}

// ---- Filing -------------------------------------------------------------

void TStrings::DefineProperties(TFiler* filer) {
    TPersistent::DefineProperties(filer);
    filer->DefineProperty(
        "Strings", [this](TReader* reader) { ReadItems(*reader); },
        [this](TWriter* writer) { WriteItems(*writer); }, StoresItems(filer->Ancestor()));
}

bool TStrings::StoresItems(const TPersistent* ancestor) const {
    // Against an ancestor only a difference is written; an ancestor of
    // another kind cannot stand for the items, so they are written.
    if (!ancestor) return Count() > 0;
    auto* strings = dynamic_cast<const TStrings*>(ancestor);
    return !strings || !Equals(strings);
}

void TStrings::ReadItems(TReader& reader) {
    // The whole list is read before the items are replaced: a truncated
    // stream leaves them as they were.
    std::vector<TStringItem> items;
    reader.ReadListBegin();
    while (!reader.EndOfList()) items.push_back({reader.ReadString(), nullptr});
    reader.ReadListEnd();
    ReplaceItems(std::move(items));
}

void TStrings::WriteItems(TWriter& writer) const {
    writer.WriteListBegin();
    for (int i = 0; i < Count(); ++i) writer.WriteString(Strings(i));
    writer.WriteListEnd();
}

// ---- TStringList --------------------------------------------------------

const TClassInfo& TStringList::StaticClass() {
    static const TClassInfo info =
        DefineClass<TStringList>("TStringList", &TStrings::StaticClass(), [](auto& c) { c.Creatable(); });
    return info;
}

std::string TStringList::Strings(int index) const {
    CheckIndex(index);
    return items_[static_cast<size_t>(index)].String;
}

TObject* TStringList::Objects(int index) const {
    CheckIndex(index);
    return items_[static_cast<size_t>(index)].Object;
}

void TStringList::CheckUnsorted() const {
    if (sorted_) RaiseListError(SSortedListError, 0);
}

void TStringList::Put(int index, const std::string& s) {
    CheckUnsorted();
    CheckIndex(index);
    Changing();
    items_[static_cast<size_t>(index)].String = s;
    Changed();
}

void TStringList::PutObject(int index, TObject* object) {
    CheckIndex(index);
    Changing();
    items_[static_cast<size_t>(index)].Object = object;
    Changed();
}

int TStringList::AddObject(const std::string& s, TObject* object) {
    int index;
    if (!sorted_) {
        index = Count();
    } else if (Find(s, index)) {
        if (duplicates_ == dupIgnore) return index;
        if (duplicates_ == dupError) RaiseListError(SDuplicateString, 0);
    }
    InsertItem(index, s, object);
    return index;
}

void TStringList::InsertObject(int index, const std::string& s, TObject* object) {
    CheckUnsorted();
    if (index < 0 || index > Count()) RaiseListError(SListIndexError, index);
    InsertItem(index, s, object);
}

void TStringList::InsertItem(int index, const std::string& s, TObject* object) {
    Changing();
    items_.insert(items_.begin() + index, TStringItem{s, object});
    Changed();
}

void TStringList::Delete(int index) {
    CheckIndex(index);
    Changing();
    items_.erase(items_.begin() + index);
    Changed();
}

void TStringList::Clear() {
    if (items_.empty()) return;
    Changing();
    std::vector<TStringItem>().swap(items_);
    Changed();
}

void TStringList::Exchange(int index1, int index2) {
    // Swapping in a sorted list would break the order Find relies on.
    CheckUnsorted();
    CheckIndex(index1);
    CheckIndex(index2);
    Changing();
    std::swap(items_[static_cast<size_t>(index1)], items_[static_cast<size_t>(index2)]);
    Changed();
}

void TStringList::Move(int curIndex, int newIndex) {
    CheckUnsorted();
    CheckIndex(curIndex);
    CheckIndex(newIndex);
    if (curIndex == newIndex) return;
    Changing();
    MoveItem(items_, static_cast<size_t>(curIndex), static_cast<size_t>(newIndex));
    Changed();
}

int TStringList::IndexOf(const std::string& s) const {
    if (!sorted_) return TStrings::IndexOf(s);
    int index;
    return Find(s, index) ? index : -1;
}

void TStringList::SetCapacity(int capacity) {
    if (capacity < Count()) RaiseListError(SListCapacityError, capacity);
    if (capacity != Capacity()) SetVectorCapacity(items_, static_cast<size_t>(capacity));
}

bool TStringList::Find(const std::string& s, int& index) const {
    if (!sorted_) {
        // Binary search needs the order; an unsorted list is searched through.
        index = TStrings::IndexOf(s);
        if (index >= 0) return true;
        index = Count();
        return false;
    }
    // The first item not below s.
    int lo = 0, hi = Count();
    while (lo < hi) {
        int mid = lo + (hi - lo) / 2;
        if (CompareStrings(items_[static_cast<size_t>(mid)].String, s) < 0) lo = mid + 1;
        else hi = mid;
    }
    index = lo;
    return lo < Count() && CompareStrings(items_[static_cast<size_t>(lo)].String, s) == 0;
}

void TStringList::Sort() {
    if (!sorted_) SortByStrings();
}

void TStringList::SortByStrings() {
    SortItems([this](int a, int b) {
        return CompareStrings(items_[static_cast<size_t>(a)].String, items_[static_cast<size_t>(b)].String);
    });
}

void TStringList::CustomSort(const TStringListSortCompare& compare) {
    if (sorted_) return;
    SortItems([&](int a, int b) { return compare(this, a, b); });
}

void TStringList::SortItems(const std::function<int(int, int)>& compare) {
    const size_t n = items_.size();
    if (n < 2) return;
    // The comparison sees the list unchanged while the order is worked out
    // on indices; the items move once at the end.
    std::vector<int> order = SortedOrder(n, compare);
    Changing();
    // A comparison or handler that changed the count leaves no order to apply.
    if (items_.size() != n) RaiseListError(SListIndexError, static_cast<int>(n));
    std::vector<TStringItem> sorted;
    sorted.reserve(n);
    for (int i : order) sorted.push_back(std::move(items_[static_cast<size_t>(i)]));
    items_.swap(sorted);
    Changed();
}

void TStringList::SetSorted(bool value) {
    if (value == sorted_) return;
    if (value) Sort();
    sorted_ = value;
}

void TStringList::SetCaseSensitive(bool value) {
    if (value == case_sensitive_) return;
    case_sensitive_ = value;
    if (!sorted_) return;
    // The order changes with the comparison; re-sort so Find stays right.
    TScopeExit rollback([this, value] { case_sensitive_ = !value; });
    SortByStrings();
    rollback.Dismiss();
}

int TStringList::CompareStrings(const std::string& s1, const std::string& s2) const {
    if (!case_sensitive_) return CompareText(s1, s2);
    int c = s1.compare(s2);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

void TStringList::ReplaceItems(std::vector<TStringItem> items) {
    // Built aside and swapped in: a refused duplicate leaves the list as it
    // was.
    if (sorted_ && items.size() > 1) {
        std::vector<int> order = SortedOrder(items.size(), [&](int a, int b) {
            return CompareStrings(items[static_cast<size_t>(a)].String, items[static_cast<size_t>(b)].String);
        });
        std::vector<TStringItem> sorted;
        sorted.reserve(items.size());
        for (int i : order) {
            TStringItem& item = items[static_cast<size_t>(i)];
            if (duplicates_ != dupAccept && !sorted.empty() && CompareStrings(sorted.back().String, item.String) == 0) {
                if (duplicates_ == dupError) RaiseListError(SDuplicateString, 0);
                continue;  // dupIgnore keeps the first
            }
            sorted.push_back(std::move(item));
        }
        items.swap(sorted);
    }
    Changing();
    items_.swap(items);
    Changed();
}

void TStringList::Changing() {
    if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::Changed() {
    if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::SetUpdateState(bool updating) {
    if (updating) Changing();
    else Changed();
}
