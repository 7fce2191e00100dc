// Status bars over msctls_statusbar32: a row of panels (a collection, filed
// as one) or one simple text. Owner-drawn panels are painted through the
// status bar's canvas in OnDrawPanel.
#pragma once
#include <memory>
#include <string>

#include "classlib/core/alignment.h"
#include "classlib/gui/canvas.h"
#include "classlib/core/collection.h"
#include "classlib/gui/wincontrol.h"

class TStatusBar;

enum TStatusPanelStyle { psText, psOwnerDraw };
DECLARE_ENUM_TYPE(TStatusPanelStyle)
enum TStatusPanelBevel { pbNone, pbLowered, pbRaised };
DECLARE_ENUM_TYPE(TStatusPanelBevel)

class TStatusPanel : public TCollectionItem {
    DECLARE_CLASS(TStatusPanel, TCollectionItem)
public:
    explicit TStatusPanel(TCollection* collection) : TCollectionItem(collection) {}
    void Assign(const TPersistent* source) override;

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    TStatusPanelBevel Bevel() const { return bevel_; }
    void SetBevel(TStatusPanelBevel value);
    TStatusPanelStyle Style() const { return style_; }
    void SetStyle(TStatusPanelStyle value);
    const std::string& Text() const { return text_; }
    void SetText(const std::string& value);
    int32_t Width() const { return width_; }
    void SetWidth(int32_t value);

protected:
    std::string GetDisplayName() const override;

private:
    TAlignment alignment_ = taLeftJustify;
    TStatusPanelBevel bevel_ = pbLowered;
    TStatusPanelStyle style_ = psText;
    std::string text_;
    int32_t width_ = 50;
};

class TStatusPanels : public TCollection {
    DECLARE_CLASS(TStatusPanels, TCollection)
public:
    explicit TStatusPanels(TStatusBar* statusBar);
    TStatusPanel* Add() { return static_cast<TStatusPanel*>(TCollection::Add()); }
    TStatusPanel* Items(int index) const { return static_cast<TStatusPanel*>(TCollection::Items(index)); }
    TPersistent* GetOwner() const override;

protected:
    void Update(TCollectionItem* item) override;

private:
    TStatusBar* status_bar_;
};

using TDrawPanelEvent = TEvent<void(TStatusBar* StatusBar, TStatusPanel* Panel, const TRect& Rect)>;

class TStatusBar : public TWinControl {
    DECLARE_CLASS(TStatusBar, TWinControl)
public:
    explicit TStatusBar(TComponent* owner);
    ~TStatusBar() override;

    TStatusPanels* Panels() const { return panels_.get(); }
    void SetPanels(TStatusPanels* panels) { panels_->Assign(panels); }
    // One text across the whole bar instead of the panels.
    bool SimplePanel() const { return simple_panel_; }
    void SetSimplePanel(bool value);
    const std::string& SimpleText() const { return simple_text_; }
    void SetSimpleText(const std::string& value);
    bool SizeGrip() const { return size_grip_; }
    void SetSizeGrip(bool value);
    // Bound to the panel's device context while OnDrawPanel runs, with the
    // status bar's font and colour.
    TCanvas* Canvas() const { return canvas_.get(); }

    void Dispatch(TMessage& message) override;

    TDrawPanelEvent OnDrawPanel;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    // Fills the rectangle unless OnDrawPanel paints the panel.
    virtual void DrawPanel(TStatusPanel* panel, const TRect& rect);

private:
    friend class TStatusPanels;
    void UpdatePanel(int index);
    void UpdatePanels();
    void ApplyColor();
    void CNDrawItem(TMessage& m);

    TOwned<TStatusPanels> panels_;
    TOwned<TCanvas> canvas_;
    std::string simple_text_;
    bool simple_panel_ = false;
    bool size_grip_ = true;
};
