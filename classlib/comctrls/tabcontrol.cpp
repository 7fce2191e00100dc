#include "classlib/comctrls/tabcontrol.h"

#include <algorithm>

#include "classlib/core/class_builder.h"
#include "classlib/gui/forms.h"
#include "classlib/core/resstrings.h"
#include "classlib/core/strutils.h"

DEFINE_ENUM_TYPE(TTabStyle, "tsTabs", "tsButtons", "tsFlatButtons")
DEFINE_ENUM_TYPE(TTabPosition, "tpTop", "tpBottom", "tpLeft", "tpRight")

// ----------------------------------------------------------------- TTabStrings

const TClassInfo& TTabStrings::StaticClass() {
    static const TClassInfo info = DefineClass<TTabStrings>("TTabStrings", &TStrings::StaticClass(), [](auto&) {});
    return info;
}

int TTabStrings::Count() const {
    return static_cast<int>(control_->tabs_.size());
}

std::string TTabStrings::Strings(int index) const {
    CheckIndex(index);
    return control_->tabs_[static_cast<size_t>(index)].Text;
}

void TTabStrings::Put(int index, const std::string& s) {
    CheckIndex(index);
    control_->SetTabText(index, s);
}

TObject* TTabStrings::Objects(int index) const {
    CheckIndex(index);
    return control_->tabs_[static_cast<size_t>(index)].Object;
}

void TTabStrings::PutObject(int index, TObject* object) {
    CheckIndex(index);
    control_->SetTabObject(index, object);
}

int TTabStrings::AddObject(const std::string& s, TObject* object) {
    // With its object from the start: the tab's image may depend on it.
    int index = Count();
    InsertObject(index, s, object);
    return index;
}

void TTabStrings::InsertObject(int index, const std::string& s, TObject* object) {
    control_->CheckTabIndex(index, true);
    control_->InsertTab(index, s, object);
}

void TTabStrings::Delete(int index) {
    CheckIndex(index);
    control_->DeleteTab(index);
}

void TTabStrings::Clear() {
    control_->ClearTabs();
}

void TTabStrings::SetUpdateState(bool updating) {
    TCustomTabControl& c = *control_;
    c.tabs_updating_ = updating;
    if (!updating) c.EndTabsUpdate();
    if (!c.WindowReady()) return;
    // WM_SETREDRAW also shows a window: only a shown one is paused.
    if (updating && IsWindowVisible(c.handle_)) {
        SendMessageA(c.handle_, WM_SETREDRAW, FALSE, 0);
        c.redraw_off_ = true;
    } else if (!updating && c.redraw_off_) {
        c.redraw_off_ = false;
        SendMessageA(c.handle_, WM_SETREDRAW, TRUE, 0);
        c.Invalidate();
    }
}

// ----------------------------------------------------------- TCustomTabControl

const TClassInfo& TCustomTabControl::StaticClass() {
    static const TClassInfo info =
        DefineClass<TCustomTabControl>("TCustomTabControl", &TWinControl::StaticClass(), [](auto& c) {
            PROPERTY(c, HotTrack).Default(false).Hidden();
            PROPERTY(c, Images).Hidden();
            PROPERTY(c, MultiLine).Default(false).Hidden();
            PROPERTY(c, Style).Default(tsTabs).Hidden();
            PROPERTY(c, TabPosition).Default(tpTop).Hidden();
            // Tabs before TabIndex: an index needs its tabs.
            PROPERTY(c, Tabs).Hidden();
            PROPERTY(c, TabIndex).Default(-1).Hidden();
            EVENT(c, OnChange).Hidden();
            EVENT(c, OnChanging).Hidden();
        });
    return info;
}

const TClassInfo& TTabControl::StaticClass() {
    static const TClassInfo info = DefineClass<TTabControl>("TTabControl", &TCustomTabControl::StaticClass(), [](auto& c) {
        c.Creatable();
        c.PublishAll("Align", "DragCursor", "DragMode", "Enabled", "Font", "HotTrack", "Images", "MultiLine",
                     "ParentFont", "ParentShowHint", "ShowHint", "Style", "TabOrder", "TabPosition", "TabStop",
                     "Tabs", "TabIndex", "Visible", "OnChange", "OnChanging", "OnEnter", "OnExit", "OnMouseDown",
                     "OnMouseMove", "OnMouseUp", "OnResize");
        c.Publish("TabStop").Default(true);
    });
    return info;
}

TCustomTabControl::TCustomTabControl(TComponent* owner)
    : TWinControl(owner),
      tab_strings_(std::make_unique<TTabStrings>(this)),
      images_link_(std::make_unique<TChangeLink>()) {
    SetControlStyle(TControlStyle{csAcceptsControls, csDoubleClicks, csClickEvents});
    SetBounds(Left(), Top(), 289, 193);
    SetTabStop(true);
    images_link_->OnChange = [this](TObject*) { ApplyImages(); };
}

TCustomTabControl::~TCustomTabControl() = default;

void TCustomTabControl::BeforeDestruction() {
    Destroying();  // no more alignment
    SetImages(nullptr);
    TWinControl::BeforeDestruction();
}

// --- tabs -------------------------------------------------------------------

void TCustomTabControl::CheckTabIndex(int index, bool forInsert) const {
    int limit = static_cast<int>(tabs_.size()) + (forInsert ? 1 : 0);
    if (index < 0 || index >= limit) throw EListError(Format(LoadStr(SListIndexError), {index}));
}

void TCustomTabControl::SendTab(UINT message, int index) {
    const TTab& tab = tabs_[static_cast<size_t>(index)];
    std::string text = tab.Text;
    TCITEMA item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = text.data();
    item.iImage = GetImageIndex(index);
    SendMessageA(handle_, message, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void TCustomTabControl::InsertTab(int index, const std::string& text, TObject* object) {
    tabs_.insert(tabs_.begin() + index, TTab{text, object});
    // The first tab is selected; the selected one keeps its place.
    if (tab_index_ < 0) tab_index_ = 0;
    else if (index <= tab_index_) ++tab_index_;
    if (WindowReady()) SendTab(TCM_INSERTITEMA, index);
    TabsChanged(index + 1);
}

void TCustomTabControl::DeleteTab(int index) {
    tabs_.erase(tabs_.begin() + index);
    // Deleting the selected tab selects the one that takes its place.
    int count = static_cast<int>(tabs_.size());
    if (index < tab_index_ || tab_index_ >= count) --tab_index_;
    if (WindowReady()) SendMessageA(handle_, TCM_DELETEITEM, static_cast<WPARAM>(index), 0);
    TabsChanged(index);
}

void TCustomTabControl::ClearTabs() {
    tabs_.clear();
    tab_index_ = -1;
    if (WindowReady()) SendMessageA(handle_, TCM_DELETEALLITEMS, 0, 0);
    TabsChanged(0);  // no tab left to move
}

void TCustomTabControl::SetTabText(int index, const std::string& text) {
    tabs_[static_cast<size_t>(index)].Text = text;
    if (!WindowReady()) return;
    SendTab(TCM_SETITEMA, index);
    TabsChanged(static_cast<int>(tabs_.size()));
}

void TCustomTabControl::SetTabObject(int index, TObject* object) {
    tabs_[static_cast<size_t>(index)].Object = object;
    // The tab's image may depend on its object.
    SendTabImage(index);
}

void TCustomTabControl::TabsChanged(int firstMoved) {
    // A tab's image goes by its place and its own object: only the tabs that
    // moved need theirs again, so adding tabs one by one stays linear.
    if (tabs_updating_) {
        tabs_changed_ = true;
        if (firstMoved < static_cast<int>(tabs_.size())) first_moved_tab_ = std::min(first_moved_tab_, firstMoved);
        return;
    }
    if (WindowReady()) {
        UpdateTabImages(firstMoved);
        ShowTabIndex();
    }
    Realign();
}

void TCustomTabControl::EndTabsUpdate() {
    if (!tabs_changed_) return;
    int firstMoved = first_moved_tab_;
    tabs_changed_ = false;
    first_moved_tab_ = INT_MAX;
    TabsChanged(firstMoved);
}

void TCustomTabControl::UpdateTabImages(int from) {
    for (int i = std::max(from, 0); i < static_cast<int>(tabs_.size()); ++i) SendTabImage(i);
}

void TCustomTabControl::SendTabImage(int index) {
    if (!WindowReady()) return;
    TCITEMA item{};
    item.mask = TCIF_IMAGE;
    item.iImage = GetImageIndex(index);
    SendMessageA(handle_, TCM_SETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

int TCustomTabControl::GetImageIndex(int tabIndex) {
    return tabIndex;
}

void TCustomTabControl::SetTabIndex(int32_t index) {
    if (index < -1 || index >= static_cast<int32_t>(tabs_.size()) || index == tab_index_) return;
    tab_index_ = index;
    ShowTabIndex();
}

void TCustomTabControl::ShowTabIndex() {
    if (!WindowReady()) return;
    if (SendMessageA(handle_, TCM_GETCURSEL, 0, 0) != tab_index_)
        SendMessageA(handle_, TCM_SETCURSEL, static_cast<WPARAM>(tab_index_), 0);
}

bool TCustomTabControl::CanChange() {
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    return allow;
}

void TCustomTabControl::Change() {
    if (OnChange) OnChange(this);
}

// --- appearance ------------------------------------------------------------------

void TCustomTabControl::SetTabStyleFlag(bool& flag, bool value) {
    if (flag == value) return;
    flag = value;
    RecreateWnd();
    Realign();
}

void TCustomTabControl::SetHotTrack(bool value) {
    SetTabStyleFlag(hot_track_, value);
}

void TCustomTabControl::SetMultiLine(bool value) {
    SetTabStyleFlag(multi_line_, value);
}

void TCustomTabControl::SetTabPosition(TTabPosition value) {
    if (tab_position_ == value) return;
    tab_position_ = value;
    RecreateWnd();
    Realign();
}

void TCustomTabControl::SetStyle(TTabStyle value) {
    if (style_ == value) return;
    style_ = value;
    RecreateWnd();
    Realign();
}

void TCustomTabControl::SetImages(TCustomImageList* images) {
    if (images_ == images) return;
    RelinkImageList(this, images_, images, images_link_.get());
    ApplyImages();
}

void TCustomTabControl::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == opRemove && component == images_) SetImages(nullptr);
}

void TCustomTabControl::ApplyImages() {
    if (!WindowReady()) return;
    HIMAGELIST list = images_ ? images_->Handle() : nullptr;
    SendMessageA(handle_, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list));
    Invalidate();
    Realign();  // images change the tabs' height
}

// --- the window ---------------------------------------------------------------

void TCustomTabControl::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, WC_TABCONTROLA);
    if (style_ != tsTabs) p.Style |= TCS_BUTTONS;
    if (style_ == tsFlatButtons) p.Style |= TCS_FLATBUTTONS;
    if (multi_line_) p.Style |= TCS_MULTILINE;
    if (hot_track_) p.Style |= TCS_HOTTRACK;
    switch (tab_position_) {
    case tpTop: break;
    case tpBottom: p.Style |= TCS_BOTTOM; break;
    case tpLeft: p.Style |= TCS_VERTICAL | TCS_MULTILINE; break;
    case tpRight: p.Style |= TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE; break;
    }
    p.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TCustomTabControl::CreateWnd() {
    redraw_off_ = false;
    TWinControl::CreateWnd();
    HIMAGELIST list = images_ ? images_->Handle() : nullptr;
    SendMessageA(handle_, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list));
    for (int i = 0; i < static_cast<int>(tabs_.size()); ++i) SendTab(TCM_INSERTITEMA, i);
    SendMessageA(handle_, TCM_SETCURSEL, static_cast<WPARAM>(tab_index_), 0);
    Realign();
}

bool TCustomTabControl::CanHaveWindow() const {
    const TWinControl* top = this;
    while (top->Parent()) top = top->Parent();
    return dynamic_cast<const TCustomForm*>(top) || top->ParentWindow();
}

bool TCustomTabControl::TopWindowWanted() const {
    const TWinControl* top = this;
    while (top->Parent()) top = top->Parent();
    return top->HandleAllocated() || top->Visible();
}

TRect TCustomTabControl::DisplayRect() {
    TRect r = Rect(0, 0, Width(), Height());
    AdjustClientRect(r);
    return r;
}

void TCustomTabControl::AdjustClientRect(TRect& rect) {
    // Only the window knows how much room its tabs take: children to place
    // make one, once the form has a window or is being shown. A form read
    // from its layout and not shown yet makes none for this: its children
    // are placed again when the window comes (CreateWnd).
    if (!handle_ && ControlCount() > 0 && CanHaveWindow() && TopWindowWanted() &&
        !ComponentState().Contains(csDestroying))
        HandleNeeded();
    if (handle_) {
        GetClientRect(handle_, &rect);
        SendMessageA(handle_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&rect));
    }
    TWinControl::AdjustClientRect(rect);
}

int TCustomTabControl::IndexOfTabAt(int x, int y) {
    if (!WindowReady()) return -1;
    TCHITTESTINFO hit{};
    hit.pt = POINT{x, y};
    return static_cast<int>(SendMessageA(handle_, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
}

TRect TCustomTabControl::TabRect(int index) {
    TRect r{0, 0, 0, 0};
    if (WindowReady() && !SendMessageA(handle_, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r)))
        r = TRect{0, 0, 0, 0};
    return r;
}

void TCustomTabControl::Dispatch(TMessage& m) {
    switch (m.Msg) {
    case CN_NOTIFY: CNNotify(m); return;
    case CM_FONTCHANGED:
        TWinControl::Dispatch(m);
        Realign();
        return;
    }
    TWinControl::Dispatch(m);
}

void TCustomTabControl::CNNotify(TMessage& m) {
    auto* header = reinterpret_cast<NMHDR*>(m.LParam);
    m.Result = 0;
    switch (header->code) {
    case TCN_SELCHANGING:
        m.Result = CanChange() ? FALSE : TRUE;
        return;
    case TCN_SELCHANGE:
        tab_index_ = static_cast<int32_t>(SendMessageA(handle_, TCM_GETCURSEL, 0, 0));
        Change();
        return;
    }
}
