// Page controls: a tab control whose tabs are its pages (TTabSheet
// children). The tabs show the pages whose TabVisible is set; the active
// page fills the display area and the others are hidden.
#pragma once
#include <vector>

#include "classlib/comctrls/tabcontrol.h"

class TPageControl;

class TTabSheet : public TWinControl {
    DECLARE_CLASS(TTabSheet, TWinControl)
public:
    explicit TTabSheet(TComponent* owner);
    void BeforeDestruction() override;

    TPageControl* PageControl() const { return page_control_; }
    // Moves the page to another page control (nullptr: none).
    void SetPageControl(TPageControl* pageControl);
    // Its place among the pages (-1 without a page control).
    int32_t PageIndex() const;
    void SetPageIndex(int32_t index);
    bool TabVisible() const { return tab_visible_; }
    void SetTabVisible(bool value);
    int32_t ImageIndex() const { return image_index_; }
    void SetImageIndex(int32_t index);
    // Its tab among the shown ones (-1: no tab).
    int TabIndex() const;

    // A page control as parent makes this one of its pages.
    void SetParent(TWinControl* parent) override;
    void Dispatch(TMessage& message) override;

private:
    friend class TPageControl;
    TPageControl* page_control_ = nullptr;
    bool tab_visible_ = true;
    int32_t image_index_ = 0;
};

class TPageControl : public TCustomTabControl {
    DECLARE_CLASS(TPageControl, TCustomTabControl)
public:
    explicit TPageControl(TComponent* owner);
    void BeforeDestruction() override;

    // The page shown; the first page unless set (a page of this control
    // only, others are ignored).
    TTabSheet* ActivePage() const { return active_page_; }
    void SetActivePage(TTabSheet* page);
    int32_t ActivePageIndex() const;
    void SetActivePageIndex(int32_t index);
    int PageCount() const { return static_cast<int>(pages_.size()); }
    // EListError outside 0..PageCount()-1.
    TTabSheet* Pages(int index) const;
    // The page after (or before) current, cyclic; nullptr when none fits.
    TTabSheet* FindNextPage(TTabSheet* current, bool goForward, bool checkTabVisible) const;
    void SelectNextPage(bool goForward);

    void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;
    void SetChildOrder(TComponent* child, int order) override;
    void Loaded() override;

protected:
    void Change() override;
    int GetImageIndex(int tabIndex) override;

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void MovePage(TTabSheet* page, int index);
    void PageTabChanged(TTabSheet* page);
    void UpdateTabs();
    TTabSheet* PageOfTab(int tabIndex) const;

    std::vector<TTabSheet*> pages_;
    TTabSheet* active_page_ = nullptr;
};
