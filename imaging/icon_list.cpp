#include "imaging/icon_list.h"

#include "classlib/core/class_builder.h"
#include "classlib/core/filer.h"
#include "classlib/core/scope_exit.h"
#include "classlib/core/streams.h"
#include "classlib/graphics/icon.h"
#include "imaging/codecs/icon_list_stream.h"

namespace {

// A new icon holding a copy of source (nullptr: empty).
TOwned<TIcon> CopyOf(TIcon* source) {
    auto icon = MakeOwned<TIcon>();
    icon->Assign(source);
    return icon;
}

// The icon keeps its own copy of the handle: icons of LoadIconA are shared
// with the module and must not be destroyed with ours.
TOwned<TIcon> FromResource(HINSTANCE instance, const char* resourceName) {
    auto icon = MakeOwned<TIcon>();
    HICON shared = LoadIconA(instance, resourceName);
    icon->SetHandle(shared ? CopyIcon(shared) : nullptr);
    return icon;
}

}  // namespace

const TClassInfo& TIconList::StaticClass() {
    static const TClassInfo info =
        DefineClass<TIconList>("TIconList", &TPersistent::StaticClass(), [](auto& c) { c.Creatable(); });
    return info;
}

TIconList::TIconList() = default;

TIconList::~TIconList() {
    FreeIcons();
}

void TIconList::BeforeDestruction() {
    OnChange = nullptr;
    Clear();
    TPersistent::BeforeDestruction();
}

void TIconList::FreeIcons() {
    for (int i = items_.Count() - 1; i >= 0; --i) {
        auto* icon = static_cast<TIcon*>(items_.Items(i));
        items_.Delete(i);
        Detach(icon);
        if (icon) icon->Free();
    }
}

void TIconList::Attach(TIcon* icon) {
    if (icon) icon->OnChange = [this](TObject*) { Changed(); };
}

void TIconList::Detach(TIcon* icon) {
    if (icon) icon->OnChange = nullptr;
}

void TIconList::Changed() {
    if (update_count_ == 0 && OnChange) OnChange(this);
}

void TIconList::BeginUpdate() {
    ++update_count_;
}

void TIconList::EndUpdate() {
    if (update_count_ > 0 && --update_count_ == 0) Changed();
}

TIcon* TIconList::GetIcon(int index) const {
    return static_cast<TIcon*>(items_.Items(index));
}

int TIconList::GetCount() const {
    return items_.Count();
}

void TIconList::PutIcon(int index, TIcon* source) {
    WhileUpdating(*this, [&] {
        if (index == Count()) Add(nullptr);
        auto* icon = static_cast<TIcon*>(items_.Items(index));
        if (!icon) {
            icon = New<TIcon>();
            items_.SetItems(index, icon);
        }
        Attach(icon);
        icon->Assign(source);
    });
}

int TIconList::Add(TIcon* source) {
    return AddIcon(CopyOf(source).release());
}

int TIconList::AddResource(HINSTANCE instance, const char* resourceName) {
    return AddIcon(FromResource(instance, resourceName).release());
}

int TIconList::AddIcon(TIcon* icon) {
    TOwned<TIcon> owned(icon);
    const int index = items_.Add(icon);
    owned.release();
    Attach(icon);
    Changed();
    return index;
}

void TIconList::Clear() {
    WhileUpdating(*this, [&] {
        for (int i = Count() - 1; i >= 0; --i) Delete(i);
    });
}

void TIconList::Delete(int index) {
    auto* icon = static_cast<TIcon*>(items_.Items(index));
    if (icon) {
        Detach(icon);
        icon->Free();
    }
    items_.Delete(index);
    Changed();
}

void TIconList::Exchange(int index1, int index2) {
    items_.Exchange(index1, index2);
    Changed();
}

int TIconList::IndexOf(TIcon* icon) const {
    return items_.IndexOf(icon);
}

void TIconList::Insert(int index, TIcon* source) {
    TOwned<TIcon> icon = CopyOf(source);
    items_.Insert(index, icon.get());
    Attach(icon.release());
    Changed();
}

void TIconList::InsertResource(int index, HINSTANCE instance, const char* resourceName) {
    TOwned<TIcon> icon = FromResource(instance, resourceName);
    items_.Insert(index, icon.get());
    Attach(icon.release());
    Changed();
}

void TIconList::Move(int curIndex, int newIndex) {
    items_.Move(curIndex, newIndex);
    Changed();
}

void TIconList::Assign(const TPersistent* source) {
    if (!source) {
        Clear();
        return;
    }
    if (source == this) return;
    if (auto* list = dynamic_cast<const TIconList*>(source)) {
        WhileUpdating(*this, [&] {
            Clear();
            for (int i = 0; i < list->Count(); ++i) Add(list->Icons(i));
        });
        return;
    }
    if (auto* icon = dynamic_cast<const TIcon*>(source)) {
        WhileUpdating(*this, [&] {
            Clear();
            Add(const_cast<TIcon*>(icon));
        });
        return;
    }
    TPersistent::Assign(source);
}

void TIconList::ReadData(TStream& stream) {
    WhileUpdating(*this, [&] {
        Clear();
        const int32_t count = ReadIconListCount(stream);
        for (int32_t i = 0; i < count; ++i) {
            std::vector<uint8_t> file = ReadIconListPlace(stream);
            if (file.empty()) {
                AddIcon(nullptr);
                continue;
            }
            TMemoryStream buffer;
            buffer.WriteBuffer(file.data(), static_cast<int32_t>(file.size()));
            buffer.SetPosition(0);
            auto icon = MakeOwned<TIcon>();
            icon->LoadFromStream(buffer);
            AddIcon(icon.release());
        }
    });
}

void TIconList::WriteData(TStream& stream) {
    WriteIconListCount(stream, Count());
    for (int i = 0; i < Count(); ++i) {
        TIcon* icon = Icons(i);
        if (!icon || icon->Empty()) {
            WriteIconListPlace(stream, {});
            continue;
        }
        TMemoryStream buffer;
        icon->SaveToStream(buffer);
        WriteIconListPlace(stream, buffer.Bytes());
    }
}

// With an ancestor of as many icons, only when a place holds another icon
// object than the ancestor's.
bool TIconList::WritesIcons(const TPersistent* ancestor) const {
    auto* list = dynamic_cast<const TIconList*>(ancestor);
    if (list && list->Count() == Count() && Count() > 0) {
        for (int i = 0; i < Count(); ++i)
            if (list->Icons(i) != Icons(i)) return true;
        return false;
    }
    return Count() > 0;
}

void TIconList::DefineProperties(TFiler* filer) {
    filer->DefineBinaryProperty(
        "Icons", [this](TStream* s) { ReadData(*s); }, [this](TStream* s) { WriteData(*s); },
        WritesIcons(filer->Ancestor()));
}
