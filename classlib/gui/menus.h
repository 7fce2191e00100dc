// Menus: TMenuItem trees built into system menus, the form's TMainMenu, the
// TPopupMenu a control shows on a right click, and the popup list whose
// window receives the commands of popup menus while they are open.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "classlib/gui/actions.h"
#include "classlib/gui/canvas.h"
#include "classlib/gui/owner_draw.h"
#include "classlib/gui/scoped_win32.h"
#include "classlib/gui/shortcuts.h"

class TMenu;
class TMenuItem;
class TMenuActionLink;

enum TMenuBreak { mbNone, mbBreak, mbBarBreak };
DECLARE_ENUM_TYPE(TMenuBreak)
enum TPopupAlignment { paLeft, paRight, paCenter };
DECLARE_ENUM_TYPE(TPopupAlignment)
enum TFindItemKind { fkCommand, fkHandle, fkShortCut };

using TMenuDrawItemEvent = TEvent<void(TObject* Sender, TCanvas* ACanvas, TRect ARect, bool Selected)>;
using TAdvancedMenuDrawItemEvent =
    TEvent<void(TObject* Sender, TCanvas* ACanvas, TRect ARect, TOwnerDrawState State)>;
using TMenuMeasureItemEvent = TEvent<void(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height)>;

// The text of a separator item.
constexpr char cLineCaption[] = "-";

class TMenuItem : public TComponent {
    DECLARE_CLASS(TMenuItem, TComponent)
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;
    // Frees the children and leaves the parent while still whole.
    void BeforeDestruction() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& value);
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& value);
    bool Checked() const { return checked_; }
    void SetChecked(bool value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    bool Default() const { return default_; }
    void SetDefault(bool value);
    bool RadioItem() const { return radio_item_; }
    void SetRadioItem(bool value);
    uint8_t GroupIndex() const { return group_index_; }
    void SetGroupIndex(uint8_t value);
    TMenuBreak Break() const { return break_; }
    void SetBreak(TMenuBreak value);
    TShortCut ShortCut() const { return short_cut_; }
    void SetShortCut(TShortCut value);
    int32_t HelpContext() const { return help_context_; }
    void SetHelpContext(int32_t value) { help_context_ = value; }
    int32_t ImageIndex() const { return image_index_; }
    void SetImageIndex(int32_t value);

    TBasicAction* Action() const;
    void SetAction(TBasicAction* value);
    TMenuActionLink* ActionLink() const { return action_link_.get(); }
    // Lets the action update the item (before a submenu opens).
    virtual void InitiateAction();

    // The children.
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const;
    TMenuItem* Parent() const { return parent_; }
    int MenuIndex() const;
    void SetMenuIndex(int value);
    int IndexOf(const TMenuItem* item) const;
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    void Delete(int index);
    void Remove(TMenuItem* item);
    // Frees all children.
    void Clear();
    // The child whose caption equals (ignoring "&" and case), or nullptr.
    TMenuItem* Find(const std::string& caption) const;

    // The identifier of the item in its system menu (unique in the process).
    WORD Command() const { return command_; }
    // The system menu of the children (created on demand).
    HMENU Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    bool IsLine() const { return caption_ == cLineCaption; }
    // The menu the item tree belongs to (nullptr for a loose item).
    TMenu* GetParentMenu() const;
    // The image list of the item's glyphs; none in this library.
    virtual TComponent* GetImageList() const { return nullptr; }

    // Runs OnClick, or the action through the link.
    virtual void Click();
    // Draws the item in an owner-drawn menu: the handlers when the item
    // has them, else background, check mark, caption and shortcut.
    virtual void AdvancedDrawItem(TCanvas* canvas, TRect rect, TOwnerDrawState state, bool topLevel);
    // The size of an owner-drawn item: OnMeasureItem's when there is one.
    virtual void MeasureItem(TCanvas* canvas, int& width, int& height);
    // Draws a caption (or shortcut) text in the item's look; flags are
    // DrawText's (DT_CALCRECT measures into rect).
    virtual void DoDrawText(TCanvas* canvas, const std::string& text, TRect& rect, bool selected, UINT flags);
    // The text shown in the system menu: caption, then tab and shortcut
    // text for items that are not on a menu bar.
    std::string MenuText() const;

    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* parent) override;
    void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;
    void SetChildOrder(TComponent* child, int order) override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

    TNotifyEvent OnClick;
    TMenuDrawItemEvent OnDrawItem;
    TAdvancedMenuDrawItemEvent OnAdvancedDrawItem;
    TMenuMeasureItemEvent OnMeasureItem;

protected:
    // The item's system entries changed (rebuild: the children changed).
    virtual void MenuChanged(bool rebuild);
    virtual const TClassInfo& GetActionLinkClass() const;
    virtual void ActionChange(TObject* sender, bool checkDefaults);
    bool IsCaptionStored() const;
    bool IsHintStored() const;
    bool IsCheckedStored() const;
    bool IsEnabledStored() const;
    bool IsVisibleStored() const;
    bool IsShortCutStored() const;
    bool IsHelpContextStored() const;
    bool IsImageIndexStored() const;

private:
    friend class TMenu;
    void DoActionChange(TObject* sender);
    // Writes the children into the system menu again.
    void RebuildHandle();
    void AppendTo(HMENU menu);
    void DestroyHandle();
    void SetParentMenu(TMenu* menu);
    void ClearRadioGroup();
    TMenuItem* FindItem(uintptr_t value, TFindItemKind kind);
    // Writes the item's entry in its parent's system menu again.
    void UpdateEntry();
    void FillEntry(MENUITEMINFOA& info, std::string& text);

    std::string caption_;
    std::string hint_;
    bool checked_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    bool default_ = false;
    bool radio_item_ = false;
    uint8_t group_index_ = 0;
    TMenuBreak break_ = mbNone;
    TShortCut short_cut_ = 0;
    int32_t help_context_ = 0;
    int32_t image_index_ = -1;
    WORD command_ = 0;
    HMENU handle_ = nullptr;
    TMenuItem* parent_ = nullptr;
    TMenu* menu_ = nullptr;  // set on the root item of a menu
    std::vector<TMenuItem*> items_;
    TOwned<TMenuActionLink> action_link_;
};

// The link of a menu item to its action.
class TMenuActionLink : public TActionLink {
    DECLARE_CLASS(TMenuActionLink, TActionLink)
public:
    explicit TMenuActionLink(TObject* client);

    bool IsCaptionLinked() override;
    bool IsCheckedLinked() override;
    bool IsEnabledLinked() override;
    bool IsHelpContextLinked() override;
    bool IsHintLinked() override;
    bool IsImageIndexLinked() override;
    bool IsShortCutLinked() override;
    bool IsVisibleLinked() override;
    void SetCaption(const std::string& value) override;
    void SetChecked(bool value) override;
    void SetEnabled(bool value) override;
    void SetHelpContext(int32_t value) override;
    void SetHint(const std::string& value) override;
    void SetImageIndex(int32_t value) override;
    void SetShortCut(TShortCut value) override;
    void SetVisible(bool value) override;

protected:
    // The client; raises EInvalidCast when it is no menu item.
    TMenuItem* Client() const;

private:
    TObject* client_;
};

class TMenu : public TComponent {
    DECLARE_CLASS(TMenu, TComponent)
public:
    explicit TMenu(TComponent* owner);
    ~TMenu() override;
    void BeforeDestruction() override;

    // The root item; its children are the menu's entries.
    TMenuItem* Items() const { return items_; }
    HMENU Handle() { return items_->Handle(); }
    bool OwnerDraw() const { return owner_draw_; }
    void SetOwnerDraw(bool value);
    // The window that shows the menu (the form of a main menu, the popup
    // list's window for popup menus); nullptr when none.
    virtual HWND WindowHandle() const { return window_; }
    void SetWindowHandle(HWND window) { window_ = window; }
    virtual bool IsRightToLeft() const { return false; }

    // The item with that command, submenu handle or shortcut, or nullptr.
    TMenuItem* FindItem(uintptr_t value, TFindItemKind kind);
    // Runs the item with the command; false when no item has it.
    bool DispatchCommand(WORD command);
    // The owner-draw messages of the menu's window (ODT_MENU).
    bool DrawItem(DRAWITEMSTRUCT* draw);
    bool MeasureItem(MEASUREITEMSTRUCT* measure);
    // WM_INITMENUPOPUP: lets the items of the opening submenu update.
    bool DispatchPopup(HMENU menu);
    // The shortcut's item is clicked; false when none has it.
    bool IsShortCut(WORD key, TShiftState shift);

    void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;

protected:
    // The root's system menu is a menu bar (main menus) or a popup menu.
    virtual bool IsMenuBar() const { return false; }
    // Called when an item of the menu changed.
    virtual void MenuChanged(TMenuItem* item, bool rebuild);

private:
    friend class TMenuItem;
    TMenuItem* items_ = nullptr;
    bool owner_draw_ = false;
    HWND window_ = nullptr;
};

class TMainMenu : public TMenu {
    DECLARE_CLASS(TMainMenu, TMenu)
public:
    explicit TMainMenu(TComponent* owner) : TMenu(owner) {}

protected:
    bool IsMenuBar() const override { return true; }
    void MenuChanged(TMenuItem* item, bool rebuild) override;
};

class TPopupMenu : public TMenu {
    DECLARE_CLASS(TPopupMenu, TMenu)
public:
    explicit TPopupMenu(TComponent* owner);
    void BeforeDestruction() override;

    TPopupAlignment Alignment() const { return alignment_; }
    void SetAlignment(TPopupAlignment value) { alignment_ = value; }
    bool AutoPopup() const { return auto_popup_; }
    void SetAutoPopup(bool value) { auto_popup_ = value; }
    // The control the menu was last shown for.
    TComponent* PopupComponent() const { return popup_component_; }
    void SetPopupComponent(TComponent* value);
    HWND WindowHandle() const override;

    // Shows the menu at a screen point and tracks it until it closes; the
    // chosen item's click arrives through the popup list's window.
    virtual void Popup(int x, int y);

    void Notification(TComponent* component, TOperation operation) override;

    TNotifyEvent OnPopup;

private:
    TPopupAlignment alignment_ = paLeft;
    bool auto_popup_ = true;
    TComponent* popup_component_ = nullptr;
};

// The popup menus that exist, and the hidden window that owns them while
// they are open: it receives their WM_COMMAND, WM_INITMENUPOPUP,
// WM_MENUSELECT and owner-draw messages.
class TPopupList : public TObject {
    DECLARE_CLASS(TPopupList, TObject)
public:
    TPopupList();
    ~TPopupList() override;

    int Count() const { return static_cast<int>(menus_.size()); }
    TPopupMenu* Menus(int index) const { return menus_[static_cast<size_t>(index)]; }
    void Add(TPopupMenu* menu);
    void Remove(TPopupMenu* menu);
    HWND Window();

protected:
    // Handles the window's messages; the default gives the menus' commands
    // to their items and the rest to DefWindowProc.
    virtual void WndProc(TMessage& message);
    void DefaultHandler(TMessage& message);

private:
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

    std::vector<TPopupMenu*> menus_;
    TOwnedWindow window_;
};

// What a WM_MENUSELECT names, as FindItem looks it up: a command, or the
// submenu's handle when a submenu is selected. None when the menu closed.
struct TMenuSelection {
    uintptr_t value;
    TFindItemKind kind;
};
std::optional<TMenuSelection> DecodeMenuSelect(const TMessage& message);
// Shows the selected item's long hint as the application's hint (an empty
// one without an item).
void ShowMenuItemHint(TMenuItem* item);

// The popup list in service (made by ClassLibStartup); may be replaced.
extern TPopupList* PopupList;
void StartMenus();
void StopMenus();

// The caption without its hot-key marks ("&&" keeps one "&").
std::string StripHotkey(const std::string& text);
// A key pressed in the control: the shortcut of an item of the popup menus
// of the control and its parents, or of its form's main menu, clicks that
// item. True when an item took the key.
bool IsMenuShortCutKey(TControl* control, WORD key, TShiftState shift);
// Registers the menu classes for layouts.
void RegisterMenuClasses();
