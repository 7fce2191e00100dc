// TScreen: the display the programs run on: pixels per inch, size, the
// cursor table and the global cursor.
#pragma once
#include <map>
#include <vector>

#include "classlib/gui/control.h"

class TCustomForm;


class TScreen : public TComponent {
    DECLARE_CLASS(TScreen, TComponent)
public:
    explicit TScreen(TComponent* owner);
    ~TScreen() override;

    int32_t PixelsPerInch() const { return pixels_per_inch_; }
    int32_t Width() const;
    int32_t Height() const;
    TRect WorkAreaRect() const;
    int32_t DesktopLeft() const;
    int32_t DesktopTop() const;
    int32_t DesktopWidth() const;
    int32_t DesktopHeight() const;

    // The cursor shown everywhere unless crDefault.
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor);
    HCURSOR Cursors(TCursor index) const;
    void SetCursors(TCursor index, HCURSOR cursor);

    int FormCount() const { return static_cast<int>(forms_.size()); }
    TCustomForm* Forms(int index) const { return forms_[static_cast<size_t>(index)]; }
    TCustomForm* ActiveForm() const { return active_form_; }
    void SetActiveForm(TCustomForm* form) { active_form_ = form; }
    void AddForm(TCustomForm* form);
    void RemoveForm(TCustomForm* form);

private:
    int32_t pixels_per_inch_ = 96;
    TCursor cursor_ = crDefault;
    mutable std::map<TCursor, HCURSOR> cursors_;
    std::vector<TCustomForm*> forms_;
    TCustomForm* active_form_ = nullptr;
};

extern TScreen* Screen;
