// TComboBox: the system combo box. Items, ItemIndex and Text live in the
// window; while it cannot exist they are kept by the control and handed to
// the window at its creation (and back when it is destroyed), so nothing
// is lost through RecreateWnd. Reading them creates the window when it can
// exist (a form that is never shown included), so a descendant that fills
// the list in CreateWnd shows its entries there too.
#pragma once
#include <vector>

#include "classlib/gui/owner_draw.h"
#include "classlib/core/stringlist.h"
#include "classlib/gui/wincontrol.h"

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
DECLARE_ENUM_TYPE(TComboBoxStyle)

using TDrawItemEvent = TEvent<void(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = TEvent<void(TWinControl* Control, int Index, int& Height)>;

class TCustomComboBox;

class TComboBoxStrings : public TStrings {
    DECLARE_CLASS(TComboBoxStrings, TStrings)
public:
    explicit TComboBoxStrings(TCustomComboBox* combo) : combo_(combo) {}
    int Count() const override;
    std::string Strings(int index) const override;
    TObject* Objects(int index) const override;
    void PutObject(int index, TObject* object) override;
    int Add(const std::string& s) override { return AddObject(s, nullptr); }
    // Sorted combo boxes place the item by its text.
    int AddObject(const std::string& s, TObject* object) override;
    void Insert(int index, const std::string& s) override { InsertObject(index, s, nullptr); }
    void InsertObject(int index, const std::string& s, TObject* object) override;
    void Delete(int index) override;
    // Edit styles keep the text they show.
    void Clear() override;

protected:
    void SetUpdateState(bool updating) override;

private:
    TCustomComboBox* combo_;
};

class TCustomComboBox : public TWinControl {
    DECLARE_CLASS(TCustomComboBox, TWinControl)
public:
    explicit TCustomComboBox(TComponent* owner);
    ~TCustomComboBox() override;

    TStrings* Items() const { return items_.get(); }
    void SetItems(TStrings* value) { items_->Assign(value); }
    // -1: nothing selected. Setting it from code reports no change.
    int ItemIndex() const;
    void SetItemIndex(int value);
    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle value);
    // The height of owner-drawn items (and the default for MeasureItem).
    int32_t ItemHeight() const { return item_height_; }
    void SetItemHeight(int32_t value);
    // Entries the drop-down list shows without scrolling.
    int32_t DropDownCount() const { return drop_down_count_; }
    void SetDropDownCount(int32_t value);
    bool Sorted() const { return sorted_; }
    void SetSorted(bool value);
    // Characters the user may type; 0: no limit.
    int32_t MaxLength() const { return max_length_; }
    void SetMaxLength(int32_t value);
    bool DroppedDown() const;
    void SetDroppedDown(bool value);
    // The canvas owner-drawn items are drawn on.
    TCanvas* Canvas() const { return canvas_.get(); }
    void Clear();

    void Dispatch(TMessage& message) override;
    void Loaded() override;

    TNotifyEvent OnChange;
    TNotifyEvent OnDropDown;
    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

protected:
    // The user changed the text or chose an entry.
    virtual void Change();
    virtual void DropDown();
    // Owner-drawn styles: the canvas has the font and brush set (highlight
    // colours for the selected entry); the focus rectangle follows.
    virtual void DrawItem(int index, const TRect& rect, TOwnerDrawState state);
    // csOwnerDrawVariable: the height of entry `index` (-1: the edit field).
    virtual void MeasureItem(int index, int& height);
    void CreateParams(TCreateParams& params) override;
    // Hands the kept items, selection and text to the new window.
    // Descendants may fill the list here after calling the inherited one.
    void CreateWnd() override;
    void DestroyWnd() override;
    void SetTextValue(const std::string& value) override;
    bool HasEditField() const { return style_ == csDropDown || style_ == csSimple; }
    // For descendants that fill the kept list themselves: the items and the
    // selection stay in the control until its window is made for another
    // reason (shown, or its handle asked for).
    void KeepItemsUntilWindowExists() { keep_items_ = true; }

private:
    friend class TComboBoxStrings;
    static LRESULT CALLBACK EditWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

    // True when the items are in the window (creating it if it can exist).
    bool ItemsInWindow();
    std::vector<TStringItem> WindowItems() const;
    int FindExact(const std::string& text) const;
    // Selects a kept entry while there is no window.
    void SelectKept(int index);
    void SetWindowTextQuietly(const std::string& text);
    // Sets the height of the drop-down list.
    void AdjustDropDown();
    void ApplyItemHeights();
    void HookEditField();
    void CNCommand(TMessage& m);
    void CNDrawItem(TMessage& m);
    void CNMeasureItem(TMessage& m);

    TOwned<TComboBoxStrings> items_;
    std::unique_ptr<TControlCanvas> canvas_;
    TComboBoxStyle style_ = csDropDown;
    int32_t item_height_ = 16;
    int measured_field_height_ = 16;
    int32_t drop_down_count_ = 8;
    bool sorted_ = false;
    int32_t max_length_ = 0;
    // The list and selection while there is no window.
    std::vector<TStringItem> saved_items_;
    int saved_index_ = -1;
    // ItemIndex read from a layout, chosen once the items are there too.
    int loading_index_ = -1;
    // Our own text updates are not the user's changes.
    int quiet_text_ = 0;
    bool keep_items_ = false;
};

class TComboBox : public TCustomComboBox {
    DECLARE_CLASS(TComboBox, TCustomComboBox)
public:
    explicit TComboBox(TComponent* owner) : TCustomComboBox(owner) {}
};
