#include "classlib/graphics/picture.h"

#include <mutex>
#include <vector>

#include "classlib/core/class_builder.h"
#include "classlib/graphics/bitmap.h"
#include "classlib/core/exceptions.h"
#include "classlib/core/filer.h"
#include "classlib/graphics/graphics_strings.h"
#include "classlib/graphics/icon.h"
#include "classlib/core/paths.h"
#include "classlib/core/streams.h"
#include "classlib/core/strutils.h"

namespace {

struct TFileFormat {
    std::string extension;  // lower case, without the dot
    std::string description;
    const TClassInfo* graphicClass;
};

struct TClipboardFormat {
    UINT format;
    const TClassInfo* graphicClass;
};

// Bitmaps and icons are known from the start.
struct TRegistries {
    std::mutex lock;
    std::vector<TFileFormat> files{{"bmp", GraphicsStr(SVBitmaps), &TBitmap::StaticClass()},
                                   {"ico", GraphicsStr(SVIcons), &TIcon::StaticClass()}};
    std::vector<TClipboardFormat> clipboard{{CF_BITMAP, &TBitmap::StaticClass()}};
};

TRegistries& Registries() {
    static TRegistries registries;
    return registries;
}

std::string NormalExtension(std::string extension) {
    if (!extension.empty() && extension[0] == '.') extension.erase(0, 1);
    return LowerCase(extension);
}

const TClassInfo* ClassForExtension(const std::string& extension) {
    TRegistries& r = Registries();
    std::lock_guard<std::mutex> guard(r.lock);
    for (const TFileFormat& f : r.files)
        if (f.extension == extension) return f.graphicClass;
    return nullptr;
}

const TClassInfo* ClassForClipboard(UINT format) {
    TRegistries& r = Registries();
    std::lock_guard<std::mutex> guard(r.lock);
    for (const TClipboardFormat& f : r.clipboard)
        if (f.format == format) return f.graphicClass;
    return nullptr;
}

// A graphic class named in layout data: the registered formats' classes
// first, then any registered class that is a creatable graphic.
const TClassInfo* GraphicClassByName(const std::string& name) {
    {
        TRegistries& r = Registries();
        std::lock_guard<std::mutex> guard(r.lock);
        for (const TFileFormat& f : r.files)
            if (SameText(f.graphicClass->Name(), name)) return f.graphicClass;
        for (const TClipboardFormat& f : r.clipboard)
            if (SameText(f.graphicClass->Name(), name)) return f.graphicClass;
    }
    const TClassInfo* info = GetClass(name);
    return info && info->InheritsFrom(TGraphic::StaticClass()) && info->CanCreate() ? info : nullptr;
}

TOwned<TGraphic> NewGraphic(const TClassInfo& graphicClass) {
    TObject* object = graphicClass.CreateInstance(nullptr);
    auto* graphic = dynamic_cast<TGraphic*>(object);
    if (!graphic) {
        if (object) object->Free();
        throw EInvalidGraphic(Format(GraphicsStr(SUnknownGraphicClass), {graphicClass.Name()}));
    }
    return TOwned<TGraphic>(graphic);
}

bool SameGraphic(TGraphic* a, TGraphic* b) {
    if (a == b) return true;
    if (!a || !b || a->ClassType().Name() != b->ClassType().Name()) return false;
    TMemoryStream x, y;
    a->WriteData(x);
    b->WriteData(y);
    return x.Bytes() == y.Bytes();
}

}  // namespace

const TClassInfo& TPicture::StaticClass() {
    static const TClassInfo info =
        DefineClass<TPicture>("TPicture", &TPersistent::StaticClass(), [](auto& c) { c.Creatable(); });
    return info;
}

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::Changed() {
    if (OnChange) OnChange(this);
}

void TPicture::Adopt(TOwned<TGraphic> graphic) {
    if (graphic) graphic->OnChange = [this](TObject*) { Changed(); };
    graphic_ = std::move(graphic);
    Changed();
}

void TPicture::SetGraphic(TGraphic* graphic) {
    if (graphic == graphic_.get()) return;
    TOwned<TGraphic> copy;
    if (graphic) {
        copy = NewGraphic(graphic->ClassType());
        copy->Assign(graphic);
    }
    Adopt(std::move(copy));
}

TBitmap* TPicture::Bitmap() {
    if (!dynamic_cast<TBitmap*>(graphic_.get())) Adopt(MakeOwned<TBitmap>());
    return static_cast<TBitmap*>(graphic_.get());
}

void TPicture::SetBitmap(TBitmap* bitmap) {
    SetGraphic(bitmap);
}

TIcon* TPicture::Icon() {
    if (!dynamic_cast<TIcon*>(graphic_.get())) Adopt(MakeOwned<TIcon>());
    return static_cast<TIcon*>(graphic_.get());
}

void TPicture::SetIcon(TIcon* icon) {
    SetGraphic(icon);
}

int32_t TPicture::Width() const {
    return graphic_ ? graphic_->Width() : 0;
}

int32_t TPicture::Height() const {
    return graphic_ ? graphic_->Height() : 0;
}

void TPicture::Assign(const TPersistent* source) {
    if (!source) SetGraphic(nullptr);
    else if (auto* picture = dynamic_cast<const TPicture*>(source)) SetGraphic(picture->Graphic());
    else if (auto* graphic = dynamic_cast<const TGraphic*>(source)) SetGraphic(const_cast<TGraphic*>(graphic));
    else TPersistent::Assign(source);
}

void TPicture::AssignTo(TPersistent* dest) const {
    if (graphic_ && dynamic_cast<TGraphic*>(dest)) {
        dest->Assign(graphic_.get());
        return;
    }
    TPersistent::AssignTo(dest);
}

void TPicture::LoadFromFile(const std::string& fileName) {
    std::string extension = NormalExtension(ExtractFileExt(fileName));
    const TClassInfo* graphicClass = ClassForExtension(extension);
    if (!graphicClass) throw EInvalidGraphic(Format(GraphicsStr(SUnknownExtension), {extension}));
    TOwned<TGraphic> graphic = NewGraphic(*graphicClass);
    graphic->LoadFromFile(fileName);
    Adopt(std::move(graphic));
}

void TPicture::SaveToFile(const std::string& fileName) {
    if (graphic_) graphic_->SaveToFile(fileName);
}

void TPicture::LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE palette) {
    const TClassInfo* graphicClass = ClassForClipboard(format);
    if (!graphicClass) throw EInvalidGraphic(GraphicsStr(SUnknownClipboardFormat));
    TOwned<TGraphic> graphic = NewGraphic(*graphicClass);
    graphic->LoadFromClipboardFormat(format, data, palette);
    Adopt(std::move(graphic));
}

void TPicture::SaveToClipboardFormat(UINT& format, HANDLE& data, HPALETTE& palette) {
    format = 0;
    data = nullptr;
    palette = nullptr;
    if (graphic_) graphic_->SaveToClipboardFormat(format, data, palette);
}

// --- layouts ----------------------------------------------------------------

void TPicture::ReadData(TStream& stream) {
    uint8_t length = 0;
    if (stream.Read(&length, 1) != 1) throw EInvalidGraphic(GraphicsStr(SInvalidBitmap));
    std::string name(length, '\0');
    if (length && stream.Read(name.data(), length) != length) throw EInvalidGraphic(GraphicsStr(SInvalidBitmap));
    if (name.empty()) {
        Adopt(nullptr);
        return;
    }
    const TClassInfo* graphicClass = GraphicClassByName(name);
    if (!graphicClass) throw EInvalidGraphic(Format(GraphicsStr(SUnknownGraphicClass), {name}));
    TOwned<TGraphic> graphic = NewGraphic(*graphicClass);
    graphic->ReadData(stream);
    Adopt(std::move(graphic));
}

void TPicture::WriteData(TStream& stream) {
    std::string name = graphic_ ? graphic_->ClassName() : std::string();
    uint8_t length = static_cast<uint8_t>(name.size());
    stream.WriteBuffer(&length, 1);
    stream.WriteBuffer(name.data(), length);
    if (graphic_) graphic_->WriteData(stream);
}

void TPicture::DefineProperties(TFiler* filer) {
    auto* ancestor = dynamic_cast<TPicture*>(filer->Ancestor());
    bool hasData = ancestor ? !SameGraphic(graphic_.get(), ancestor->Graphic()) : graphic_ != nullptr;
    filer->DefineBinaryProperty(
        "Data", [this](TStream* s) { ReadData(*s); }, [this](TStream* s) { WriteData(*s); }, hasData);
}

// --- registries ------------------------------------------------------------

void TPicture::RegisterFileFormat(const std::string& extension, const std::string& description,
                                  const TClassInfo& graphicClass) {
    TRegistries& r = Registries();
    std::lock_guard<std::mutex> guard(r.lock);
    // Registering again moves the format to the front instead of doubling it.
    std::string normal = NormalExtension(extension);
    std::erase_if(r.files, [&](const TFileFormat& f) { return f.extension == normal && f.graphicClass == &graphicClass; });
    r.files.insert(r.files.begin(), {normal, description, &graphicClass});
}

void TPicture::RegisterClipboardFormat(UINT format, const TClassInfo& graphicClass) {
    TRegistries& r = Registries();
    std::lock_guard<std::mutex> guard(r.lock);
    std::erase_if(r.clipboard, [&](const TClipboardFormat& f) { return f.format == format && f.graphicClass == &graphicClass; });
    r.clipboard.insert(r.clipboard.begin(), {format, &graphicClass});
}

void TPicture::UnregisterGraphicClass(const TClassInfo& graphicClass) {
    TRegistries& r = Registries();
    std::lock_guard<std::mutex> guard(r.lock);
    std::erase_if(r.files, [&](const TFileFormat& f) { return f.graphicClass->InheritsFrom(graphicClass); });
    std::erase_if(r.clipboard,
                  [&](const TClipboardFormat& f) { return f.graphicClass->InheritsFrom(graphicClass); });
}

bool TPicture::SupportsClipboardFormat(UINT format) {
    return ClassForClipboard(format) != nullptr;
}

std::string TPicture::GraphicFilter(const TClassInfo& graphicClass) {
    TRegistries& r = Registries();
    std::lock_guard<std::mutex> guard(r.lock);
    std::string masks, entries;
    int count = 0;
    for (const TFileFormat& f : r.files) {
        if (f.extension.empty() || !f.graphicClass->InheritsFrom(graphicClass)) continue;
        std::string mask = "*." + f.extension;
        masks += (count ? ";" : "") + mask;
        entries += (count ? "|" : "") + f.description + " (" + mask + ")|" + mask;
        ++count;
    }
    if (count <= 1) return entries;
    return GraphicsStr(SAllFilter) + " (" + masks + ")|" + masks + "|" + entries;
}

std::string TPicture::GraphicExtension(const TClassInfo& graphicClass) {
    TRegistries& r = Registries();
    std::lock_guard<std::mutex> guard(r.lock);
    for (const TFileFormat& f : r.files)
        if (f.graphicClass == &graphicClass) return f.extension;
    return "";
}
