#include "classlib/gui/graphic.h"

#include "classlib/core/class_builder.h"
#include "classlib/core/exceptions.h"
#include "classlib/core/filer.h"
#include "classlib/core/resstrings.h"
#include "classlib/core/streams.h"

const TClassInfo& TGraphic::StaticClass() {
    static const TClassInfo info = DefineClass<TGraphic>("TGraphic", &TPersistent::StaticClass(), [](auto&) {});
    return info;
}

void TGraphic::SetTransparent(bool value) {
    if (transparent_ == value) return;
    transparent_ = value;
    Changed();
}

void TGraphic::SetModified(bool value) {
    if (value) Changed();
    else modified_ = false;
}

void TGraphic::Changed() {
    modified_ = true;
    if (OnChange) OnChange(this);
}

void TGraphic::Progress(TObject* sender, TProgressStage stage, uint8_t percentDone, bool redrawNow,
                        const TRect& r, const std::string& msg) {
    if (OnProgress) OnProgress(sender, stage, percentDone, redrawNow, r, msg);
}

void TGraphic::LoadFromFile(const std::string& fileName) {
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(stream);
}

void TGraphic::SaveToFile(const std::string& fileName) {
    TFileStream stream(fileName, fmCreate);
    SaveToStream(stream);
}

void TGraphic::LoadFromClipboardFormat(UINT, HANDLE, HPALETTE) {
    throw EInvalidGraphic("Unknown picture format");
}

void TGraphic::SaveToClipboardFormat(UINT&, HANDLE&, HPALETTE&) {
    throw EInvalidGraphic("Unknown picture format");
}

void TGraphic::ReadData(TStream& stream) {
    LoadFromStream(stream);
}

void TGraphic::WriteData(TStream& stream) {
    SaveToStream(stream);
}

bool TGraphic::Equals(const TGraphic* other) const {
    if (!other || other->ClassType().Name() != ClassType().Name()) return false;
    if (Empty() || other->Empty()) return Empty() == other->Empty();
    TMemoryStream a, b;
    const_cast<TGraphic*>(this)->WriteData(a);
    const_cast<TGraphic*>(other)->WriteData(b);
    return a.Bytes() == b.Bytes();
}

void TGraphic::DefineProperties(TFiler* filer) {
    auto* ancestor = dynamic_cast<TGraphic*>(filer->Ancestor());
    bool hasData = ancestor ? !Equals(ancestor) : !Empty();
    filer->DefineBinaryProperty(
        "Data", [this](TStream* s) { ReadData(*s); }, [this](TStream* s) { WriteData(*s); }, hasData);
}
