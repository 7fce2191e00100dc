// Wide hints: the hint information of a trapped control is marked as wide
// (its data points to itself) and carries the ANSI form of the short wide
// hint; the Unicode hint window then shows the wide text. Also the wide
// text measures of device contexts and canvases.
#pragma once
#include <string>

#include "classlib/gui/canvas.h"
#include "classlib/gui/hint_window.h"

// Marks info as a wide hint when its window class is the plain hint window
// (which becomes TUcCustomHintWindow) or a Unicode one.
void PrepareWideHint(THintInfo* info);
// Data is hint information this layer marked (only addresses the layer
// prepared are looked at).
bool IsWideHintData(const void* data);
// The wide text of marked hint information.
std::wstring WideHintText(const THintInfo* info);

class TUcCustomHintWindow : public THintWindow {
    DECLARE_CLASS(TUcCustomHintWindow, THintWindow)
public:
    explicit TUcCustomHintWindow(TComponent* owner) : THintWindow(owner) {}

    TRect CalcHintRect(int maxWidth, const std::string& hint, void* data) override;
    void ActivateHint(TRect rect, const std::string& hint) override;
    void ActivateHintData(TRect rect, const std::string& hint, void* data) override;
    void Dispatch(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWindowHandle(const TCreateParams& params) override;
    void Paint() override;

private:
    bool paint_blocked_ = false;
    bool activating_ = false;
};

// Size of wide text in the device context's font; returns the system's result.
BOOL WideDCTextExtent(HDC dc, const std::wstring& text, SIZE& size);
SIZE WideCanvasTextExtent(TCanvas& canvas, const std::wstring& text);
int WideCanvasTextWidth(TCanvas& canvas, const std::wstring& text);
int WideCanvasTextHeight(TCanvas& canvas, const std::wstring& text);
