// TIconList: an ordered list of icons that owns them, tells of changes
// (also of changes inside its icons) and files itself in layouts as the
// binary property "Icons" (imaging/codecs/icon_list_stream.h).
#pragma once
#include <cstdint>

#include "classlib/core/events.h"
#include "classlib/core/lists.h"
#include "classlib/core/persistent.h"
#include "classlib/gui/win32.h"

class TIcon;
class TStream;

class TIconList : public TPersistent {
    DECLARE_CLASS(TIconList, TPersistent)
public:
    TIconList();
    ~TIconList() override;
    // Frees the icons while the list is whole (Clear is virtual).
    void BeforeDestruction() override;

    void DefineProperties(TFiler* filer) override;
    // nullptr clears; a TIconList or a TIcon is copied; anything else
    // raises EConvertError and leaves the list as it was.
    void Assign(const TPersistent* source) override;

    virtual void Changed();
    // The icon at the index (nullptr for an empty place); an index out of
    // range raises EListError.
    virtual TIcon* GetIcon(int index) const;
    virtual int GetCount() const;
    // Copies source into the place; index = Count appends.
    virtual void PutIcon(int index, TIcon* source);
    // Appends a copy of source (nullptr: an empty icon); returns its index.
    virtual int Add(TIcon* source);
    // Appends the module's icon resource (name or MAKEINTRESOURCE number).
    virtual int AddResource(HINSTANCE instance, const char* resourceName);
    virtual void Clear();
    virtual void Delete(int index);
    virtual void Exchange(int index1, int index2);
    // The index of that very icon object, or -1.
    virtual int IndexOf(TIcon* icon) const;
    virtual void Insert(int index, TIcon* source);
    virtual void InsertResource(int index, HINSTANCE instance, const char* resourceName);
    // The "Icons" bytes. A damaged stream raises; the icons read so far stay.
    virtual void ReadData(TStream& stream);
    virtual void Move(int curIndex, int newIndex);
    virtual void WriteData(TStream& stream);

    // Appends the icon itself (nullptr: an empty place); the list owns it.
    int AddIcon(TIcon* icon);

    // Batch updates nest; OnChange fires once when the outermost ends.
    void BeginUpdate();
    void EndUpdate();

    int Count() const { return GetCount(); }
    TIcon* Icons(int index) const { return GetIcon(index); }
    void SetIcons(int index, TIcon* source) { PutIcon(index, source); }

    TNotifyEvent OnChange;

private:
    void Attach(TIcon* icon);
    static void Detach(TIcon* icon);
    void FreeIcons();
    bool WritesIcons(const TPersistent* ancestor) const;

    TList items_;
    int32_t update_count_ = 0;
};
