#include "classlib/core/class_builder.h"
#include "classlib/core/resstrings.h"
#include "classlib/core/strutils.h"
#include "unicode/wide_list_texts.h"
#include "unicode/wide_strings.h"
#include "unicode/wide_sysutils.h"

const TClassInfo& TUcStringList::StaticClass() {
    static const TClassInfo info =
        DefineClass<TUcStringList>("TUcStringList", &TUcStrings::StaticClass(), [](auto& c) { c.Creatable(); });
    return info;
}

TUcStringList::~TUcStringList() {
    // No notification while dying.
    OnChange = nullptr;
    OnChanging = nullptr;
    list_.clear();
    count_ = 0;
}

void TUcStringList::CheckIndex(int index) const {
    if (index < 0 || index >= count_) Error(kUcListIndexError, index);
}

void TUcStringList::SortedListError() const {
    Error(kUcSortedListError, 0);
}

std::wstring TUcStringList::Get(int index) const {
    CheckIndex(index);
    return list_[static_cast<size_t>(index)].String;
}

TObject* TUcStringList::GetObject(int index) const {
    CheckIndex(index);
    return list_[static_cast<size_t>(index)].Object;
}

void TUcStringList::PutObject(int index, TObject* object) {
    CheckIndex(index);
    Changing();
    list_[static_cast<size_t>(index)].Object = object;
    Changed();
}

void TUcStringList::Put(int index, const std::wstring& s) {
    if (sorted_) SortedListError();
    CheckIndex(index);
    Changing();
    list_[static_cast<size_t>(index)].String = s;
    Changed();
}

int TUcStringList::AddObject(const std::wstring& s, TObject* object) {
    int index = count_;
    if (sorted_ && Find(s, index)) {
        if (duplicates_ == ucDupIgnore) return index;
        if (duplicates_ == ucDupError) Error(kUcDuplicateString, 0);
    }
    InsertItem(index, s, object);
    return index;
}

void TUcStringList::InsertObject(int index, const std::wstring& s, TObject* object) {
    if (sorted_) SortedListError();
    if (index < 0 || index > count_) Error(kUcListIndexError, index);
    InsertItem(index, s, object);
}

void TUcStringList::InsertItem(int index, const std::wstring& s, TObject* object) {
    Changing();
    if (count_ == GetCapacity()) Grow();
    for (int i = count_; i > index; --i) list_[static_cast<size_t>(i)] = std::move(list_[static_cast<size_t>(i) - 1]);
    list_[static_cast<size_t>(index)] = TItem{s, object};
    ++count_;
    Changed();
}

void TUcStringList::Delete(int index) {
    CheckIndex(index);
    Changing();
    for (int i = index; i < count_ - 1; ++i) list_[static_cast<size_t>(i)] = std::move(list_[static_cast<size_t>(i) + 1]);
    --count_;
    list_[static_cast<size_t>(count_)] = TItem{};
    Changed();
}

void TUcStringList::Clear() {
    if (count_ == 0) return;
    Changing();
    list_.clear();
    count_ = 0;
    SetCapacity(0);
    Changed();
}

void TUcStringList::Exchange(int index1, int index2) {
    CheckIndex(index1);
    CheckIndex(index2);
    Changing();
    std::swap(list_[static_cast<size_t>(index1)], list_[static_cast<size_t>(index2)]);
    Changed();
}

void TUcStringList::Move(int curIndex, int newIndex) {
    if (curIndex != newIndex && sorted_) SortedListError();
    TUcStrings::Move(curIndex, newIndex);
}

void TUcStringList::SetCapacity(int capacity) {
    if (capacity < count_) Error(AnsiToWide(LoadStr(SListCapacityError)), capacity);
    list_.resize(static_cast<size_t>(capacity));
}

void TUcStringList::Grow() {
    int capacity = GetCapacity();
    int delta = capacity > 64 ? capacity / 4 : capacity > 8 ? 16 : 4;
    SetCapacity(capacity + delta);
}

void TUcStringList::SetUpdateState(bool updating) {
    if (updating) Changing();
    else Changed();
}

void TUcStringList::Changed() {
    if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TUcStringList::Changing() {
    if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

int TUcStringList::IndexOf(const std::wstring& s) const {
    if (!sorted_) return TUcStrings::IndexOf(s);
    int index;
    return Find(s, index) ? index : -1;
}

int TUcStringList::IndexOfName(const std::wstring& name) const {
    if (!sorted_) return TUcStrings::IndexOfName(name);
    std::wstring key = name + NameValueSeparator();
    int index;
    Find(key, index);
    if (index >= count_) return -1;
    const std::wstring& item = list_[static_cast<size_t>(index)].String;
    return CompareStrings(key, item.substr(0, key.size())) == 0 ? index : -1;
}

int TUcStringList::CompareStrings(const std::wstring& a, const std::wstring& b) const {
    return case_sensitive_ ? WideCompareStr(a, b) : WideCompareText(a, b);
}

bool TUcStringList::Find(const std::wstring& s, int& index) const {
    bool found = false;
    int lo = 0, hi = count_ - 1;
    while (lo <= hi) {
        int mid = static_cast<int>((static_cast<unsigned>(lo) + static_cast<unsigned>(hi)) >> 1);
        int c = CompareStrings(list_[static_cast<size_t>(mid)].String, s);
        if (c < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (c == 0) {
                found = true;
                if (duplicates_ != ucDupAccept) lo = mid;
            }
        }
    }
    index = lo;
    return found;
}

void TUcStringList::Sort() {
    CustomSort([](TUcStringList* list, int i, int j) {
        return list->CompareStrings(list->list_[static_cast<size_t>(i)].String, list->list_[static_cast<size_t>(j)].String);
    });
}

void TUcStringList::CustomSort(const TUcStringListSortCompare& compare) {
    if (sorted_ || count_ < 2) return;
    SortItems(compare);
}

void TUcStringList::SortItems(const TUcStringListSortCompare& compare) {
    if (count_ < 2) return;
    Changing();
    QuickSort(0, count_ - 1, compare);
    Changed();
}

void TUcStringList::QuickSort(int l, int r, const TUcStringListSortCompare& compare) {
    int i;
    do {
        i = l;
        int j = r;
        int p = static_cast<int>((static_cast<unsigned>(l) + static_cast<unsigned>(r)) >> 1);
        do {
            while (compare(this, i, p) < 0) ++i;
            while (compare(this, j, p) > 0) --j;
            if (i <= j) {
                std::swap(list_[static_cast<size_t>(i)], list_[static_cast<size_t>(j)]);
                if (p == i) p = j;
                else if (p == j) p = i;
                ++i;
                --j;
            }
        } while (i <= j);
        if (l < j) QuickSort(l, j, compare);
        l = i;
    } while (i < r);
}

void TUcStringList::SetSorted(bool value) {
    if (value == sorted_) return;
    if (value) {
        SortItems([](TUcStringList* list, int i, int j) {
            return list->CompareStrings(list->list_[static_cast<size_t>(i)].String,
                                        list->list_[static_cast<size_t>(j)].String);
        });
    }
    sorted_ = value;
}

void TUcStringList::SetCaseSensitive(bool value) {
    if (value == case_sensitive_) return;
    case_sensitive_ = value;
    if (sorted_) {
        SortItems([](TUcStringList* list, int i, int j) {
            return list->CompareStrings(list->list_[static_cast<size_t>(i)].String,
                                        list->list_[static_cast<size_t>(j)].String);
        });
    }
}
