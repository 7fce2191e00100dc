// TPicture: holds one graphic of any registered kind, loads files by their
// extension and keeps the registries of file and clipboard formats.
#pragma once
#include <string>

#include "classlib/gui/graphic.h"

class TBitmap;
class TIcon;

class TPicture : public TPersistent {
    DECLARE_CLASS(TPicture, TPersistent)
public:
    TPicture();
    ~TPicture() override;

    // nullptr, TPicture (its graphic) or any TGraphic (copied).
    void Assign(const TPersistent* source) override;

    // Owned. SetGraphic stores a copy (nullptr clears).
    TGraphic* Graphic() const { return graphic_.get(); }
    void SetGraphic(TGraphic* graphic);
    // The graphic as that kind; an empty one replaces any other kind.
    TBitmap* Bitmap();
    void SetBitmap(TBitmap* bitmap);
    TIcon* Icon();
    void SetIcon(TIcon* icon);
    int32_t Width() const;
    int32_t Height() const;

    // The class is chosen by the file's extension; an unknown extension or
    // a bad file raises EInvalidGraphic and leaves the picture as it was.
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName);
    void LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE palette);
    void SaveToClipboardFormat(UINT& format, HANDLE& data, HPALETTE& palette);

    // Layouts: "Data" is the graphic's class name as a short string
    // (length byte, then the name), followed by the graphic's own data.
    void DefineProperties(TFiler* filer) override;

    TNotifyEvent OnChange;

    // Registries shared by all pictures. A later registration of an
    // extension takes precedence and comes first in filters.
    static void RegisterFileFormat(const std::string& extension, const std::string& description,
                                   const TClassInfo& graphicClass);
    static void RegisterClipboardFormat(UINT format, const TClassInfo& graphicClass);
    // Removes the formats of the class and of its descendants.
    static void UnregisterGraphicClass(const TClassInfo& graphicClass);
    static bool SupportsClipboardFormat(UINT format);
    // An open-dialog filter of the formats of graphicClass and its
    // descendants: "Alle (*.a;*.b)|*.a;*.b|A (*.a)|*.a|B (*.b)|*.b"; with
    // one format only its own entry.
    static std::string GraphicFilter(const TClassInfo& graphicClass);
    // The first extension registered for exactly that class ("" if none).
    static std::string GraphicExtension(const TClassInfo& graphicClass);

protected:
    void AssignTo(TPersistent* dest) const override;
    virtual void Changed();

private:
    void Adopt(TOwned<TGraphic> graphic);
    void ReadData(TStream& stream);
    void WriteData(TStream& stream);

    TOwned<TGraphic> graphic_;
};
