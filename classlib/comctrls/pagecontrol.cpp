#include "classlib/comctrls/pagecontrol.h"

#include <algorithm>

#include "classlib/core/class_builder.h"
#include "classlib/gui/forms.h"
#include "classlib/core/resstrings.h"
#include "classlib/core/scope_exit.h"
#include "classlib/core/strutils.h"

// ------------------------------------------------------------------ TTabSheet

const TClassInfo& TTabSheet::StaticClass() {
    static const TClassInfo info = DefineClass<TTabSheet>("TTabSheet", &TWinControl::StaticClass(), [](auto& c) {
        c.Creatable();
        // The page control places and shows its pages.
        c.Publish("Left").Stored(false);
        c.Publish("Top").Stored(false);
        c.Publish("Width").Stored(false);
        c.Publish("Height").Stored(false);
        c.PublishAll("Caption", "DragMode", "Enabled", "Font", "ParentFont", "ParentShowHint", "ShowHint");
        c.Publish("Visible").Stored(false);
        PROPERTY(c, ImageIndex).Default(0);
        PROPERTY(c, PageIndex).Stored(false);
        PROPERTY(c, TabVisible).Default(true);
        c.PublishAll("OnEnter", "OnExit", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnResize");
    });
    return info;
}

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
    SetControlStyle(ControlStyle() + csAcceptsControls);
    SetAlign(alClient);
    // Only the active page is shown.
    SetVisibleQuietly(false);
}

void TTabSheet::BeforeDestruction() {
    if (page_control_) page_control_->RemovePage(this);
    TWinControl::BeforeDestruction();
}

void TTabSheet::SetPageControl(TPageControl* pageControl) {
    SetParent(pageControl);
}

void TTabSheet::SetParent(TWinControl* parent) {
    if (parent == Parent()) return;
    auto* pageControl = dynamic_cast<TPageControl*>(parent);
    if (page_control_ && page_control_ != pageControl) page_control_->RemovePage(this);
    TWinControl::SetParent(parent);
    if (pageControl && page_control_ != pageControl) pageControl->InsertPage(this);
}

int32_t TTabSheet::PageIndex() const {
    if (!page_control_) return -1;
    const auto& pages = page_control_->pages_;
    return static_cast<int32_t>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int32_t index) {
    if (page_control_) page_control_->MovePage(this, index);
}

int TTabSheet::TabIndex() const {
    if (!page_control_ || !tab_visible_) return -1;
    int index = 0;
    for (TTabSheet* page : page_control_->pages_) {
        if (page == this) return index;
        if (page->tab_visible_) ++index;
    }
    return -1;
}

void TTabSheet::SetTabVisible(bool value) {
    if (tab_visible_ == value) return;
    tab_visible_ = value;
    if (page_control_) page_control_->PageTabChanged(this);
}

void TTabSheet::SetImageIndex(int32_t index) {
    if (image_index_ == index) return;
    image_index_ = index;
    if (page_control_) page_control_->UpdateTabImages();
}

void TTabSheet::Dispatch(TMessage& m) {
    TWinControl::Dispatch(m);
    if (m.Msg == CM_TEXTCHANGED && page_control_) {
        int tab = TabIndex();
        if (tab >= 0) page_control_->Tabs()->Put(tab, Caption());
    }
}

// --------------------------------------------------------------- TPageControl

const TClassInfo& TPageControl::StaticClass() {
    static const TClassInfo info = DefineClass<TPageControl>("TPageControl", &TCustomTabControl::StaticClass(), [](auto& c) {
        c.Creatable();
        PROPERTY(c, ActivePage);
        c.PublishAll("Align", "DragCursor", "DragMode", "Enabled", "Font", "HotTrack", "Images", "MultiLine",
                     "ParentFont", "ParentShowHint", "ShowHint", "Style", "TabOrder", "TabPosition", "TabStop",
                     "Visible", "OnChange", "OnChanging", "OnEnter", "OnExit", "OnMouseDown", "OnMouseMove",
                     "OnMouseUp", "OnResize");
        c.Publish("TabStop").Default(true);
    });
    return info;
}

TPageControl::TPageControl(TComponent* owner) : TCustomTabControl(owner) {}

void TPageControl::BeforeDestruction() {
    Destroying();
    TCustomTabControl::BeforeDestruction();
}

TTabSheet* TPageControl::Pages(int index) const {
    if (index < 0 || index >= PageCount()) throw EListError(Format(LoadStr(SListIndexError), {index}));
    return pages_[static_cast<size_t>(index)];
}

int32_t TPageControl::ActivePageIndex() const {
    return active_page_ ? active_page_->PageIndex() : -1;
}

void TPageControl::SetActivePageIndex(int32_t index) {
    SetActivePage(index >= 0 && index < PageCount() ? pages_[static_cast<size_t>(index)] : nullptr);
}

TTabSheet* TPageControl::PageOfTab(int tabIndex) const {
    if (tabIndex < 0 || tabIndex >= Tabs()->Count()) return nullptr;
    return dynamic_cast<TTabSheet*>(Tabs()->Objects(tabIndex));
}

void TPageControl::SetActivePage(TTabSheet* page) {
    if (page && page->page_control_ != this) return;
    if (page == active_page_) {
        SetTabIndex(page ? page->TabIndex() : -1);
        return;
    }
    TTabSheet* old = active_page_;
    TCustomForm* form = ParentForm();
    bool focusInOld = form && old && form->ActiveControl() && old->ContainsControl(form->ActiveControl());
    active_page_ = page;
    if (page) {
        page->BringToFront();
        page->SetVisible(true);
    }
    if (old) old->SetVisible(false);
    SetTabIndex(page ? page->TabIndex() : -1);
    // Focus on a page now hidden goes to the tabs.
    if (focusInOld && !ComponentState().Contains(csLoading) && CanFocus()) form->SetActiveControl(this);
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* current, bool goForward, bool checkTabVisible) const {
    int count = PageCount();
    if (count == 0) return nullptr;
    auto it = std::find(pages_.begin(), pages_.end(), current);
    int start = it == pages_.end() ? (goForward ? count - 1 : 0) : static_cast<int>(it - pages_.begin());
    int i = start;
    for (int step = 0; step < count; ++step) {
        i = goForward ? (i + 1) % count : (i - 1 + count) % count;
        TTabSheet* page = pages_[static_cast<size_t>(i)];
        if (!checkTabVisible || page->tab_visible_) return page;
    }
    return nullptr;
}

void TPageControl::SelectNextPage(bool goForward) {
    TTabSheet* page = FindNextPage(active_page_, goForward, true);
    if (page && page != active_page_ && CanChange()) {
        SetActivePage(page);
        TCustomTabControl::Change();
    }
}

void TPageControl::InsertPage(TTabSheet* page) {
    pages_.push_back(page);
    page->page_control_ = this;
    UpdateTabs();
    // A layout names its active page, or gets the first one when loaded.
    if (!active_page_ && page->tab_visible_ && !ComponentState().Contains(csLoading)) SetActivePage(page);
}

void TPageControl::RemovePage(TTabSheet* page) {
    auto it = std::find(pages_.begin(), pages_.end(), page);
    if (it == pages_.end()) return;
    bool wasActive = page == active_page_;
    bool destroying = ComponentState().Contains(csDestroying);
    TTabSheet* next = wasActive && !destroying ? FindNextPage(page, true, true) : nullptr;
    if (next == page) next = nullptr;
    pages_.erase(it);
    page->page_control_ = nullptr;
    if (wasActive) active_page_ = nullptr;
    if (destroying) return;
    UpdateTabs();
    if (wasActive) SetActivePage(next);
}

void TPageControl::MovePage(TTabSheet* page, int index) {
    auto it = std::find(pages_.begin(), pages_.end(), page);
    if (it == pages_.end()) return;
    pages_.erase(it);
    index = std::clamp(index, 0, static_cast<int>(pages_.size()));
    pages_.insert(pages_.begin() + index, page);
    UpdateTabs();
}

void TPageControl::PageTabChanged(TTabSheet* page) {
    // An active page losing its tab hands over to the next shown one.
    if (page == active_page_ && !page->tab_visible_) {
        TTabSheet* next = FindNextPage(page, true, true);
        SetActivePage(next == page ? nullptr : next);
    }
    UpdateTabs();
    if (!active_page_ && page->tab_visible_ && !ComponentState().Contains(csLoading)) SetActivePage(page);
}

void TPageControl::UpdateTabs() {
    if (ComponentState().Contains(csDestroying)) return;
    TStrings* tabs = Tabs();
    WhileUpdating(*tabs, [&] {
        tabs->Clear();
        for (TTabSheet* page : pages_)
            if (page->tab_visible_) tabs->AddObject(page->Caption(), page);
    });
    SetTabIndex(active_page_ ? active_page_->TabIndex() : -1);
}

int TPageControl::GetImageIndex(int tabIndex) {
    TTabSheet* page = PageOfTab(tabIndex);
    return page ? page->ImageIndex() : tabIndex;
}

void TPageControl::Change() {
    // The user chose a tab: its page comes up before OnChange.
    TTabSheet* page = PageOfTab(TabIndex());
    if (page && page != active_page_) SetActivePage(page);
    TCustomTabControl::Change();
}

void TPageControl::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) {
    // Pages in page order, then any other children.
    for (TTabSheet* page : pages_)
        if (page->Owner() == root) proc(page);
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (c->Owner() == root && std::find(pages_.begin(), pages_.end(), c) == pages_.end()) proc(c);
    }
}

void TPageControl::SetChildOrder(TComponent* child, int order) {
    if (auto* page = dynamic_cast<TTabSheet*>(child); page && page->page_control_ == this) MovePage(page, order);
    else TCustomTabControl::SetChildOrder(child, order);
}

void TPageControl::Loaded() {
    TCustomTabControl::Loaded();
    if (!active_page_) SetActivePage(FindNextPage(nullptr, true, true));
}
