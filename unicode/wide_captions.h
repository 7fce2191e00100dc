// Wide captions and hints for any control of the class library. A control
// with a Unicode window keeps its wide caption there; other controls keep
// their wide texts in a caption holder beside the ANSI ones, which stay the
// class library's own (the ANSI shadow).
#pragma once
#include <functional>
#include <string>

#include "classlib/core/component.h"

class TControl;

// The wide field, first brought back in step when the ANSI value was
// changed behind the layer's back (its ANSI form differs).
std::wstring WidePropertyValueSync(std::wstring& wideField, const std::string& ansiValue);

using TAnsiSetter = std::function<void(const std::string&)>;
// Stores value in the wide field and its ANSI form through the setter. A
// value whose ANSI form equals the current ANSI value while the value itself
// differs (characters without ANSI form) first sets the empty text, so that
// the ANSI side sees a change.
void SetWidePropertyWithAnsiShadow(const std::wstring& value, std::wstring& wideField, const std::string& ansiValue,
                                   const TAnsiSetter& setter);

// The wide texts of a control without a window to hold them. Frees itself
// with its control.
class TWideCaptionHolder : public TComponent {
    DECLARE_CLASS(TWideCaptionHolder, TComponent)
public:
    explicit TWideCaptionHolder(TControl* control);
    TControl* Control() const { return control_; }
    std::wstring& WideCaption() { return wide_caption_; }
    std::wstring& WideHint() { return wide_hint_; }

    void Notification(TComponent* component, TOperation operation) override;

private:
    TControl* control_;
    std::wstring wide_caption_;
    std::wstring wide_hint_;
};

// The control's holder; with create a missing one is made. nullptr when
// there is none (or the layer is not started).
TWideCaptionHolder* WideCaptionHolderFor(TControl* control, bool create);

std::wstring ControlGetWideText(TControl* control);
void ControlSetWideText(TControl* control, const std::wstring& value);
std::wstring ControlGetWideHint(TControl* control);
void ControlSetWideHint(TControl* control, const std::wstring& value);

// The part of a hint before the first "|" (all of it without one), and the
// part after it.
std::wstring WideGetShortHint(const std::wstring& hint);
std::wstring WideGetLongHint(const std::wstring& hint);
// The wide hint of the control or of its nearest parent that has one.
std::wstring ControlWideHintChain(TControl* control);

// The unit's start-up (the holder and pending-trap lists, the atoms) and
// shut-down.
void StartWideCaptions();
void StopWideCaptions();
