#include "classlib/comctrls/statusbar.h"

#include <algorithm>
#include <vector>

#include "classlib/gui/scoped_win32.h"
#include "classlib/core/class_builder.h"

DEFINE_ENUM_TYPE(TStatusPanelStyle, "psText", "psOwnerDraw")
DEFINE_ENUM_TYPE(TStatusPanelBevel, "pbNone", "pbLowered", "pbRaised")

namespace {

// The part of the bar that holds the simple text.
constexpr WPARAM kSimplePart = 255;

}  // namespace

// --------------------------------------------------------------- TStatusPanel

const TClassInfo& TStatusPanel::StaticClass() {
    static const TClassInfo info = DefineClass<TStatusPanel>("TStatusPanel", &TCollectionItem::StaticClass(), [](auto& c) {
        c.Creatable();
        PROPERTY(c, Alignment).Default(taLeftJustify);
        PROPERTY(c, Bevel).Default(pbLowered);
        PROPERTY(c, Style).Default(psText);
        PROPERTY(c, Text);
        PROPERTY(c, Width);
    });
    return info;
}

void TStatusPanel::Assign(const TPersistent* source) {
    const auto* panel = dynamic_cast<const TStatusPanel*>(source);
    if (!panel) {
        TCollectionItem::Assign(source);
        return;
    }
    alignment_ = panel->alignment_;
    bevel_ = panel->bevel_;
    style_ = panel->style_;
    text_ = panel->text_;
    width_ = panel->width_;
    Changed(true);
}

std::string TStatusPanel::GetDisplayName() const {
    return text_.empty() ? TCollectionItem::GetDisplayName() : text_;
}

void TStatusPanel::SetAlignment(TAlignment value) {
    if (alignment_ == value) return;
    alignment_ = value;
    Changed(false);
}

void TStatusPanel::SetBevel(TStatusPanelBevel value) {
    if (bevel_ == value) return;
    bevel_ = value;
    Changed(false);
}

void TStatusPanel::SetStyle(TStatusPanelStyle value) {
    if (style_ == value) return;
    style_ = value;
    Changed(false);
}

void TStatusPanel::SetText(const std::string& value) {
    if (text_ == value) return;
    text_ = value;
    Changed(false);
}

void TStatusPanel::SetWidth(int32_t value) {
    if (width_ == value) return;
    width_ = value;
    Changed(true);  // moves the panels after it
}

// -------------------------------------------------------------- TStatusPanels

const TClassInfo& TStatusPanels::StaticClass() {
    static const TClassInfo info = DefineClass<TStatusPanels>("TStatusPanels", &TCollection::StaticClass(), [](auto&) {});
    return info;
}

TStatusPanels::TStatusPanels(TStatusBar* statusBar)
    : TCollection(TStatusPanel::StaticClass()), status_bar_(statusBar) {}

TPersistent* TStatusPanels::GetOwner() const {
    return status_bar_;
}

void TStatusPanels::Update(TCollectionItem* item) {
    if (item) status_bar_->UpdatePanel(item->Index());
    else status_bar_->UpdatePanels();
}

// ----------------------------------------------------------------- TStatusBar

const TClassInfo& TStatusBar::StaticClass() {
    static const TClassInfo info = DefineClass<TStatusBar>("TStatusBar", &TWinControl::StaticClass(), [](auto& c) {
        c.Creatable();
        c.Publish("Align").Default(alBottom);
        c.Publish("Color").Default(clBtnFace);
        c.PublishAll("DragCursor", "DragMode", "Enabled", "Font");
        PROPERTY(c, Panels);
        c.Publish("ParentColor").Default(false);
        c.PublishAll("ParentFont", "ParentShowHint", "ShowHint");
        PROPERTY(c, SimplePanel).Default(false);
        PROPERTY(c, SimpleText);
        PROPERTY(c, SizeGrip).Default(true);
        c.PublishAll("Visible", "OnClick", "OnDblClick", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnResize");
        EVENT(c, OnDrawPanel);
    });
    return info;
}

TStatusBar::TStatusBar(TComponent* owner)
    : TWinControl(owner), panels_(MakeOwned<TStatusPanels>(this)), canvas_(MakeOwned<TCanvas>()) {
    SetControlStyle(TControlStyle{csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque});
    SetParentColor(false);
    SetColor(clBtnFace);
    SetHeight(19);
    SetAlign(alBottom);
}

TStatusBar::~TStatusBar() = default;

void TStatusBar::SetSimplePanel(bool value) {
    if (simple_panel_ == value) return;
    simple_panel_ = value;
    if (!handle_) return;
    SendMessageA(handle_, SB_SIMPLE, value ? TRUE : FALSE, 0);
    UpdatePanels();
}

void TStatusBar::SetSimpleText(const std::string& value) {
    if (simple_text_ == value) return;
    simple_text_ = value;
    if (handle_) SendMessageA(handle_, SB_SETTEXTA, kSimplePart, reinterpret_cast<LPARAM>(simple_text_.c_str()));
}

void TStatusBar::SetSizeGrip(bool value) {
    if (size_grip_ == value) return;
    size_grip_ = value;
    RecreateWnd();
}

void TStatusBar::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, STATUSCLASSNAMEA);
    // Our alignment places the bar; the window must not move itself.
    p.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE;
    if (size_grip_) p.Style |= SBARS_SIZEGRIP;
    p.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TStatusBar::CreateWnd() {
    TWinControl::CreateWnd();
    ApplyColor();
    SendMessageA(handle_, SB_SETTEXTA, kSimplePart, reinterpret_cast<LPARAM>(simple_text_.c_str()));
    if (simple_panel_) SendMessageA(handle_, SB_SIMPLE, TRUE, 0);
    UpdatePanels();
}

void TStatusBar::ApplyColor() {
    if (!handle_) return;
    COLORREF color = Color() == clBtnFace ? CLR_DEFAULT : static_cast<COLORREF>(ColorToRGB(Color()));
    SendMessageA(handle_, SB_SETBKCOLOR, 0, static_cast<LPARAM>(color));
}

void TStatusBar::UpdatePanel(int index) {
    if (!handle_ || index < 0 || index >= panels_->Count()) return;
    TStatusPanel* panel = panels_->Items(index);
    WPARAM part = static_cast<WPARAM>(index);
    if (panel->Bevel() == pbNone) part |= SBT_NOBORDERS;
    else if (panel->Bevel() == pbRaised) part |= SBT_POPOUT;
    if (panel->Style() == psOwnerDraw) {
        SendMessageA(handle_, SB_SETTEXTA, part | SBT_OWNERDRAW, reinterpret_cast<LPARAM>(panel));
        return;
    }
    // Tabs in front centre (one) or right-align (two) the text.
    std::string text = panel->Text();
    if (panel->Alignment() == taCenter) text = "\t" + text;
    else if (panel->Alignment() == taRightJustify) text = "\t\t" + text;
    SendMessageA(handle_, SB_SETTEXTA, part, reinterpret_cast<LPARAM>(text.c_str()));
}

void TStatusBar::UpdatePanels() {
    if (!handle_) return;
    // Right edges; the last panel reaches the end of the bar.
    int count = panels_->Count();
    std::vector<int> edges(static_cast<size_t>(std::max(count, 1)), -1);
    int right = 0;
    for (int i = 0; i + 1 < count; ++i) {
        right += panels_->Items(i)->Width();
        edges[static_cast<size_t>(i)] = right;
    }
    SendMessageA(handle_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    if (count == 0) SendMessageA(handle_, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(""));
    for (int i = 0; i < count; ++i) UpdatePanel(i);
    Invalidate();
}

void TStatusBar::DrawPanel(TStatusPanel* panel, const TRect& rect) {
    if (OnDrawPanel) OnDrawPanel(this, panel, rect);
    else canvas_->FillRect(rect);
}

void TStatusBar::Dispatch(TMessage& m) {
    switch (m.Msg) {
    case CN_DRAWITEM: CNDrawItem(m); return;
    case WM_SIZE:
        // Part bounds follow the size only when the parts are set again.
        TWinControl::Dispatch(m);
        UpdatePanels();
        return;
    case CM_COLORCHANGED:
        TWinControl::Dispatch(m);
        ApplyColor();
        return;
    }
    TWinControl::Dispatch(m);
}

void TStatusBar::CNDrawItem(TMessage& m) {
    auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
    m.Result = TRUE;
    int index = static_cast<int>(item->itemID);
    if (simple_panel_ || index < 0 || index >= panels_->Count()) return;
    TSavedDC saved(item->hDC);
    TCanvasOnDC attached(*canvas_, item->hDC);
    canvas_->SetFont(*Font());
    canvas_->Brush().SetColor(Color());
    canvas_->Brush().SetStyle(bsSolid);
    DrawPanel(panels_->Items(index), item->rcItem);
}
