// Pictures that a canvas can draw: bitmaps, icons, GIFs and others derive
// from TGraphic.
#pragma once
#include <string>

#include "classlib/core/events.h"
#include "classlib/gui/geometry.h"
#include "classlib/core/persistent.h"

class TCanvas;
class TStream;

// Long operations on a graphic (decoding, encoding) report their progress.
enum TProgressStage { psStarting, psRunning, psEnding };
using TProgressEvent = TEvent<void(TObject* Sender, TProgressStage Stage, uint8_t PercentDone, bool RedrawNow,
                                   const TRect& R, const std::string& Msg)>;

class TGraphic : public TPersistent {
    DECLARE_CLASS(TGraphic, TPersistent)
public:
    virtual bool Empty() const = 0;
    virtual int32_t Width() const = 0;
    virtual int32_t Height() const = 0;
    virtual void SetWidth(int32_t width) = 0;
    virtual void SetHeight(int32_t height) = 0;
    virtual HPALETTE Palette() const { return nullptr; }
    virtual void SetPalette(HPALETTE) {}
    virtual bool Transparent() const { return transparent_; }
    virtual void SetTransparent(bool value);
    bool Modified() const { return modified_; }
    void SetModified(bool value);

    virtual void LoadFromStream(TStream& stream) = 0;
    virtual void SaveToStream(TStream& stream) = 0;
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName);
    // Clipboard formats (registered per class with the picture registry).
    virtual void LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE palette);
    virtual void SaveToClipboardFormat(UINT& format, HANDLE& data, HPALETTE& palette);

    // Draws the picture into rect (stretching where the class does).
    virtual void Draw(TCanvas* canvas, const TRect& rect) = 0;

    // Layouts carry a graphic as the binary property "Data".
    void DefineProperties(TFiler* filer) override;
    // The bytes "Data" holds (default: SaveToStream) and their reader.
    virtual void ReadData(TStream& stream);
    virtual void WriteData(TStream& stream);

    TNotifyEvent OnChange;
    TProgressEvent OnProgress;

protected:
    virtual void Changed();
    virtual void Progress(TObject* sender, TProgressStage stage, uint8_t percentDone, bool redrawNow,
                          const TRect& r, const std::string& msg);
    // Whether writing "Data" is needed compared with the filer's ancestor.
    virtual bool Equals(const TGraphic* other) const;

private:
    bool transparent_ = false;
    bool modified_ = false;
};
