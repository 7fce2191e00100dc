// Wide menus: menu items with wide captions and hints that reach the system
// menu on the Unicode platform, owner-drawn and measured with wide text;
// shortcut texts that name keys in the user's language; and the popup
// list side of wide menu hints.
#pragma once
#include <functional>
#include <string>

#include "classlib/gui/menus.h"
#include "unicode/wide_menu_texts.h"

// The wide hint of a TUcMenuItem; any other item's hint widened.
std::wstring MenuItemWideHint(TMenuItem* item);
// On a middle-east locale: refreshes the first item when it is wide.
void RefreshWideMenu(TMenu* menu);

class TUcMenuItem : public TMenuItem {
    DECLARE_CLASS(TUcMenuItem, TMenuItem)
public:
    explicit TUcMenuItem(TComponent* owner);

    // The ANSI caption and hint stay the class library's (the shadow).
    std::wstring Caption() const;
    void SetCaption(const std::wstring& value);
    std::wstring Hint() const;
    void SetHint(const std::wstring& value);

    // Writes the wide caption into the system menu of the parent.
    void Refresh(TMenu* menu);

    void DefineProperties(TFiler* filer) override;
    void Loaded() override;
    void AdvancedDrawItem(TCanvas* canvas, TRect rect, TOwnerDrawState state, bool topLevel) override;

    // The handler the user assigns as OnMeasureItem; the class library's
    // measure slot holds the item's own measuring.
    TMenuMeasureItemEvent UserMeasureItem;

protected:
    void MenuChanged(bool rebuild) override;
    const TClassInfo& GetActionLinkClass() const override;
    void ActionChange(TObject* sender, bool checkDefaults) override;

private:
    TMenuMeasureItemEvent OwnMeasureHandler();
    bool SlotHoldsOwnHandler() const;
    void OwnMeasure(TCanvas* canvas, int& width, int& height);
    // The wide text drawing of the item (measures with DT_CALCRECT).
    void DrawWideText(TCanvas* canvas, const std::wstring& text, TRect& rect, bool selected, UINT flags);
    UINT AlignmentStyle() const;
    int WideTextWidth(TCanvas* canvas, const std::wstring& text);
    void RefreshTree(TMenu* menu);

    bool suppress_change_ = false;
    // Reading brings them in step with the ANSI texts.
    mutable std::wstring wide_caption_;
    mutable std::wstring wide_hint_;
};

// The popup list that reports wide hints of popup-menu items.
class TUcPopupList : public TPopupList {
    DECLARE_CLASS(TUcPopupList, TPopupList)
public:
    TUcPopupList() : saved_(PopupList) {}
    TPopupList* SavedPopupList() const { return saved_; }

protected:
    void WndProc(TMessage& message) override;

private:
    TPopupList* saved_;
};

extern TUcPopupList* UcPopupList;
// Where wide menu hints go (the application wrapper's wide hint); by
// default their ANSI form becomes the application's hint.
extern std::function<void(const std::wstring&)> WideMenuHintReceiver;

void StartWideMenus();
void StopWideMenus();
void RegisterWideMenuClasses();
