// Tab controls over SysTabControl32. The control keeps its tabs and the
// selected index itself, so both work before the window exists and survive
// a new window (a style change makes one). Children sit in the display
// area below the tabs.
#pragma once
#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "classlib/comctrls/imglist.h"
#include "classlib/core/stringlist.h"
#include "classlib/gui/wincontrol.h"

enum TTabStyle { tsTabs, tsButtons, tsFlatButtons };
DECLARE_ENUM_TYPE(TTabStyle)
enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };
DECLARE_ENUM_TYPE(TTabPosition)

using TTabChangingEvent = TEvent<void(TObject* Sender, bool& AllowChange)>;

class TCustomTabControl;

// The tabs of a tab control as a string list; objects are kept per tab.
class TTabStrings : public TStrings {
    DECLARE_CLASS(TTabStrings, TStrings)
public:
    explicit TTabStrings(TCustomTabControl* control) : control_(control) {}

    int Count() const override;
    std::string Strings(int index) const override;
    void Put(int index, const std::string& s) override;
    TObject* Objects(int index) const override;
    void PutObject(int index, TObject* object) override;
    int AddObject(const std::string& s, TObject* object) override;
    void Insert(int index, const std::string& s) override { InsertObject(index, s, nullptr); }
    void InsertObject(int index, const std::string& s, TObject* object) override;
    void Delete(int index) override;
    void Clear() override;

protected:
    void SetUpdateState(bool updating) override;

private:
    TCustomTabControl* control_;
};

class TCustomTabControl : public TWinControl {
    DECLARE_CLASS(TCustomTabControl, TWinControl)
public:
    explicit TCustomTabControl(TComponent* owner);
    ~TCustomTabControl() override;
    void BeforeDestruction() override;

    bool HotTrack() const { return hot_track_; }
    void SetHotTrack(bool value);
    bool MultiLine() const { return multi_line_; }
    void SetMultiLine(bool value);
    // Left and right tabs come in several rows.
    TTabPosition TabPosition() const { return tab_position_; }
    void SetTabPosition(TTabPosition value);
    TTabStyle Style() const { return style_; }
    void SetStyle(TTabStyle value);
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* images);

    // The area below the tabs, in client coordinates.
    TRect DisplayRect();
    void AdjustClientRect(TRect& rect) override;
    // The tab at a client position (-1: none) and where a tab is shown.
    int IndexOfTabAt(int x, int y);
    TRect TabRect(int index);

    void Dispatch(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;

    // After the user chose another tab (not when TabIndex is set).
    TNotifyEvent OnChange;
    // Before the user leaves the tab; AllowChange false keeps it.
    TTabChangingEvent OnChanging;

protected:
    TStrings* Tabs() const { return tab_strings_.get(); }
    void SetTabs(TStrings* tabs) { tab_strings_->Assign(tabs); }
    // -1 when there are no tabs; other values outside the tabs are ignored.
    int32_t TabIndex() const { return tab_index_; }
    void SetTabIndex(int32_t index);

    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    virtual bool CanChange();
    virtual void Change();
    // The image of a tab: its index by default.
    virtual int GetImageIndex(int tabIndex);
    // Sends the images of the tabs from `from` on again (after the images or
    // the tabs' order changed).
    void UpdateTabImages(int from = 0);

private:
    friend class TTabStrings;
    struct TTab {
        std::string Text;
        TObject* Object = nullptr;
    };

    bool WindowReady() const { return handle_ != nullptr; }
    bool CanHaveWindow() const;
    // The form (or foreign parent) holding it has a window or is shown.
    bool TopWindowWanted() const;
    void CheckTabIndex(int index, bool forInsert) const;
    void InsertTab(int index, const std::string& text, TObject* object);
    void DeleteTab(int index);
    void ClearTabs();
    void SetTabText(int index, const std::string& text);
    void SetTabObject(int index, TObject* object);
    // After the tab list changed: the tabs from firstMoved on changed their
    // place (none when it is the count). Within an update of the tab list the
    // window is brought up to date once, at its end.
    void TabsChanged(int firstMoved);
    void EndTabsUpdate();
    void SendTab(UINT message, int index);
    void SendTabImage(int index);
    void ShowTabIndex();
    void ApplyImages();
    void SetTabStyleFlag(bool& flag, bool value);
    void CNNotify(TMessage& m);

    std::unique_ptr<TTabStrings> tab_strings_;
    std::vector<TTab> tabs_;
    int32_t tab_index_ = -1;
    bool hot_track_ = false;
    bool multi_line_ = false;
    TTabPosition tab_position_ = tpTop;
    TTabStyle style_ = tsTabs;
    TCustomImageList* images_ = nullptr;
    std::unique_ptr<TChangeLink> images_link_;
    bool redraw_off_ = false;
    bool tabs_updating_ = false;
    bool tabs_changed_ = false;       // during an update
    int first_moved_tab_ = INT_MAX;  // during an update: the first tab whose image may be stale
};

class TTabControl : public TCustomTabControl {
    DECLARE_CLASS(TTabControl, TCustomTabControl)
public:
    explicit TTabControl(TComponent* owner) : TCustomTabControl(owner) {}
    using TCustomTabControl::SetTabIndex;
    using TCustomTabControl::SetTabs;
    using TCustomTabControl::TabIndex;
    using TCustomTabControl::Tabs;
};
