#pragma once
// A fill: how to paint a rectangular area (solid, gradient, hatch or texture body, optionally split into
// a mirrored lower half, rounded corners, shadow, glow, border, focus outline and up to two pictures).
// It holds no drawing resources between calls; Fill builds, uses and frees them every time.

#include "drawing/gp_graphics.h"
#include "drawing/gp_picture.h"
#include "drawing/graphic.h"
#include "platform/store_changed.h"

#include <utility>

namespace lanterna {

class TIniFile;

// A stored value that cannot be turned back into what it stood for.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

enum TGradientType : std::uint8_t {
    gtSolid,
    gtRadial,
    gtVertical,
    gtHorizontal,
    gtForwardDiagonal,
    gtBackwardDiagonal,
    gtAngle,
    gtHatch,
    gtPath,
    gtTexture,
    gtNone
};
enum TFillRoundingType : std::uint8_t { rtNone, rtTop, rtBottom, rtBoth, rtLeft, rtRight };
enum TShadowType : std::uint8_t { stRightBottom, stBottom, stSurround };
enum TGlowMode : std::uint8_t { gmNone, gmGradient, gmRadial, gmRadialGradient };
enum TFillPicturePosition : std::uint8_t {
    ppTopLeft,
    ppTopCenter,
    ppTopRight,
    ppBottomLeft,
    ppBottomCenter,
    ppBottomRight,
    ppTiled,
    ppStretched,
    ppCenterLeft,
    ppCenterCenter,
    ppCenterRight,
    ppCustom
};
enum TFillPictureSize : std::uint8_t { psOriginal, psCustom };
enum TFillPictureMode : std::uint8_t { pmInsideFill, pmOutsideFill };
enum TPictureMode : std::uint8_t { pmStretch, pmNormal };

// A system colour (high byte 0x80) resolved to its RGB value; any other colour unchanged.
TColor ColorToRGB(TColor color);

// The closed outline of a rectangle whose corners of `type` are rounded with `radius`; a radius of 0 or
// less gives the plain rectangle. The radius is not limited by the rectangle's size.
TGPGraphicsPath CreateRoundRectPath(const TGPRectF& rect, float radius, TFillRoundingType type);

// The size a w x h picture takes in a boxW x boxH box keeping its proportions; pmNormal never enlarges a
// picture smaller than the box. 0 x 0 when any of the four is 0 or less.
std::pair<double, double> AspectFit(double w, double h, double boxW, double boxH, TPictureMode mode);

class TFill : public TPersistent {
public:
    TFill();
    ~TFill() override;
    Q_DISABLE_COPY_MOVE(TFill)

    // Paints into `r` and returns the body's rectangle (r less the room the shadow took). Each opacity
    // argument of 255 means that the property of the same meaning is used.
    TGPRectF Fill(TGPGraphics& graphics, const TGPRectF& r, std::uint8_t aBorderOpacity = 255,
                  std::uint8_t aOpacity = 255, std::uint8_t aOpacityTo = 255,
                  std::uint8_t aOpacityMirror = 255, std::uint8_t aOpacityMirrorTo = 255);
    // Whether Fill with its own opacities paints every pixel that lies wholly inside its rectangle opaque,
    // when the rectangle is more than a pixel wide and high: a solid body at full opacity without
    // rounding, shadow or mirrored half. What lies under such a fill need not be drawn.
    bool PaintsOpaqueBody() const;
    // Paints one body part: the whole body or the upper half, or with `mirror` the lower half.
    void DrawGradientBackGround(TGPGraphics& graphics, const TGPRectF& r, bool mirror, std::uint8_t oc,
                                std::uint8_t octo, std::uint8_t ocmr, std::uint8_t ocmrto);
    void DrawGlow(TGPGraphics& graphics, const TGPRectF& r);

    void Assign(const TPersistent* source) override;

    // The stored form: one section of an INI file holding the fill's settings and its two pictures
    // as hexadecimal text. Saving writes every key or none (EInOutError). Loading keeps the current
    // value for every key that is missing or invalid and announces one change at the end; a bad
    // hexadecimal digit raises EConvertError "No Hex-Number" with the settings read before it
    // already taken. A file given by name may be as large as kMaxFileBytes; an open TIniFile keeps
    // the limit it was opened with.
    void SaveToFile(const QString& fileName, const QString& section) const;
    void SaveToFile(TIniFile& ini, const QString& section) const;
    void LoadFromFile(const QString& fileName, const QString& section);
    void LoadFromFile(const TIniFile& ini, const QString& section);
    // Copies the published settings and both pictures to the clipboard under the "GDI+ Fill" format;
    // loading does nothing when the clipboard holds no such data.
    void SaveToClipBoard() const;
    void LoadFromClipBoard();
    // The largest picture read back from a stored form or the clipboard.
    static constexpr qsizetype kMaxStoredPictureBytes = qsizetype(8) << 20;
    // Room for both pictures at that size as text, the settings and other sections of the file.
    static constexpr qint64 kMaxFileBytes = 4 * kMaxStoredPictureBytes + (qint64(1) << 20);

    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate() {
        if (FUpdateCount > 0)
            --FUpdateCount;
    }

    TNotifyEvent OnChange;

    TColor Color() const { return FColor; }
    void SetColor(TColor v) { Set(FColor, v); }
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor v) { Set(FColorTo, v); }
    TColor ColorMirror() const { return FColorMirror; }
    void SetColorMirror(TColor v) { Set(FColorMirror, v); }
    TColor ColorMirrorTo() const { return FColorMirrorTo; }
    void SetColorMirrorTo(TColor v) { Set(FColorMirrorTo, v); }
    TGradientType GradientType() const { return FGradientType; }
    void SetGradientType(TGradientType v) { Set(FGradientType, v); }
    TGradientType GradientMirrorType() const { return FGradientMirrorType; }
    void SetGradientMirrorType(TGradientType v) { Set(FGradientMirrorType, v); }
    lanterna::HatchStyle HatchStyle() const { return FHatchStyle; }
    void SetHatchStyle(lanterna::HatchStyle v) { Set(FHatchStyle, v); }
    lanterna::HatchStyle HatchStyleMirror() const { return FHatchStyleMirror; }
    void SetHatchStyleMirror(lanterna::HatchStyle v) { Set(FHatchStyleMirror, v); }
    std::uint8_t Opacity() const { return FOpacity; }
    void SetOpacity(std::uint8_t v) { Set(FOpacity, v); }
    std::uint8_t OpacityTo() const { return FOpacityTo; }
    void SetOpacityTo(std::uint8_t v) { Set(FOpacityTo, v); }
    std::uint8_t OpacityMirror() const { return FOpacityMirror; }
    void SetOpacityMirror(std::uint8_t v) { Set(FOpacityMirror, v); }
    std::uint8_t OpacityMirrorTo() const { return FOpacityMirrorTo; }
    void SetOpacityMirrorTo(std::uint8_t v) { Set(FOpacityMirrorTo, v); }
    int Angle() const { return FAngle; }
    void SetAngle(int v) { Set(FAngle, v); }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v) { Set(FBorderColor, v); }
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int v) { Set(FBorderWidth, v); }
    std::uint8_t BorderOpacity() const { return FBorderOpacity; }
    void SetBorderOpacity(std::uint8_t v) { Set(FBorderOpacity, v); }
    int Rounding() const { return FRounding; }
    void SetRounding(int v) { Set(FRounding, v); }
    TFillRoundingType RoundingType() const { return FRoundingType; }
    void SetRoundingType(TFillRoundingType v) { Set(FRoundingType, v); }
    int ShadowOffset() const { return FShadowOffset; }
    void SetShadowOffset(int v) { Set(FShadowOffset, v); }
    TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(TColor v) { Set(FShadowColor, v); }
    TShadowType ShadowType() const { return FShadowType; }
    void SetShadowType(TShadowType v) { Set(FShadowType, v); }
    TGlowMode Glow() const { return FGlow; }
    void SetGlow(TGlowMode v) { Set(FGlow, v); }
    TColor GlowGradientColor() const { return FGlowGradientColor; }
    void SetGlowGradientColor(TColor v) { Set(FGlowGradientColor, v); }
    TColor GlowRadialColor() const { return FGlowRadialColor; }
    void SetGlowRadialColor(TColor v) { Set(FGlowRadialColor, v); }

    TGPPicture& Picture() { return *FPicture; }
    const TGPPicture& Picture() const { return *FPicture; }
    // Copies the picture into the owned one.
    void SetPicture(const TGPPicture* value);
    TFillPicturePosition PicturePosition() const { return FPicturePosition; }
    void SetPicturePosition(TFillPicturePosition v) { Set(FPicturePosition, v); }
    int PictureLeft() const { return FPictureLeft; }
    void SetPictureLeft(int v) { Set(FPictureLeft, v); }
    int PictureTop() const { return FPictureTop; }
    void SetPictureTop(int v) { Set(FPictureTop, v); }
    TFillPictureSize PictureSize() const { return FPictureSize; }
    void SetPictureSize(TFillPictureSize v) { Set(FPictureSize, v); }
    int PictureWidth() const { return FPictureWidth; }
    void SetPictureWidth(int v) { Set(FPictureWidth, v); }
    int PictureHeight() const { return FPictureHeight; }
    void SetPictureHeight(int v) { Set(FPictureHeight, v); }
    bool PictureAspectRatio() const { return FPictureAspectRatio; }
    void SetPictureAspectRatio(bool v) { Set(FPictureAspectRatio, v); }
    TPictureMode PictureAspectMode() const { return FPictureAspectMode; }
    void SetPictureAspectMode(TPictureMode v) { Set(FPictureAspectMode, v); }

    TGPPicture& BackGroundPicture() { return *FBackGroundPicture; }
    const TGPPicture& BackGroundPicture() const { return *FBackGroundPicture; }
    void SetBackGroundPicture(const TGPPicture* value);
    TFillPicturePosition BackGroundPicturePosition() const { return FBackGroundPicturePosition; }
    void SetBackGroundPicturePosition(TFillPicturePosition v) { Set(FBackGroundPicturePosition, v); }
    int BackGroundPictureLeft() const { return FBackGroundPictureLeft; }
    void SetBackGroundPictureLeft(int v) { Set(FBackGroundPictureLeft, v); }
    int BackGroundPictureTop() const { return FBackGroundPictureTop; }
    void SetBackGroundPictureTop(int v) { Set(FBackGroundPictureTop, v); }
    TFillPictureMode BackGroundPictureMode() const { return FBackGroundPictureMode; }
    void SetBackGroundPictureMode(TFillPictureMode v) { Set(FBackGroundPictureMode, v); }
    bool BackGroundPictureAspectRatio() const { return FBackGroundPictureAspectRatio; }
    void SetBackGroundPictureAspectRatio(bool v) { Set(FBackGroundPictureAspectRatio, v); }
    TPictureMode BackGroundPictureAspectMode() const { return FBackGroundPictureAspectMode; }
    void SetBackGroundPictureAspectMode(TPictureMode v) { Set(FBackGroundPictureAspectMode, v); }

    bool Focus() const { return FFocus; }
    void SetFocus(bool v) { Set(FFocus, v); }
    TColor FocusColor() const { return FFocusColor; }
    void SetFocusColor(TColor v) { Set(FFocusColor, v); }
    const TGPRectF& FocusRect() const { return FFocusRect; }
    void SetFocusRect(const TGPRectF& v) { Set(FFocusRect, v); }

private:
    template <typename T> void Set(T& field, const T& value) {
        if (StoreChanged(field, value))
            Changed();
    }
    void Changed();
    // Paints the picture at a placement within the integer rectangle (left, top, right, bottom).
    void DrawFillPicture(TGPGraphics& graphics, TGPPicture& picture, int w, int h, const TRect& r,
                         TFillPicturePosition position, int customLeft, int customTop, bool aspect,
                         TPictureMode mode);
    void PlaceBackGroundPicture(TGPGraphics& graphics, const TGPRectF& r);
    // Paints the shadow of `r` and returns what is left of r for the body.
    TGPRectF DrawShadow(TGPGraphics& graphics, TGPRectF r);
    // Paints the body: one part, a radial light, or an upper half over a mirrored lower half.
    void DrawBody(TGPGraphics& graphics, const TGPRectF& r, std::uint8_t oc, std::uint8_t octo,
                  std::uint8_t ocmr, std::uint8_t ocmrto);
    void DrawMirroredBody(TGPGraphics& graphics, const TGPRectF& r, std::uint8_t oc, std::uint8_t octo,
                          std::uint8_t ocmr, std::uint8_t ocmrto);
    // Sets FocusRect inside the border of `r` and, with Focus, outlines it dotted.
    void DrawFocus(TGPGraphics& graphics, const TGPRectF& r, std::uint8_t opacity);
    void DrawPicture(TGPGraphics& graphics, const TGPRectF& r);

    TColor FColor = clSilver;
    TColor FColorTo = clGray;
    TColor FColorMirror = clNone;
    TColor FColorMirrorTo = clNone;
    TGradientType FGradientType = gtVertical;
    TGradientType FGradientMirrorType = gtSolid;
    lanterna::HatchStyle FHatchStyle = HatchStyleHorizontal;
    lanterna::HatchStyle FHatchStyleMirror = HatchStyleHorizontal;
    std::uint8_t FOpacity = 255;
    std::uint8_t FOpacityTo = 255;
    std::uint8_t FOpacityMirror = 255;
    std::uint8_t FOpacityMirrorTo = 255;
    int FAngle = 0;
    TColor FBorderColor = clNone;
    int FBorderWidth = 1;
    std::uint8_t FBorderOpacity = 255;
    int FRounding = 0;
    TFillRoundingType FRoundingType = rtBoth;
    int FShadowOffset = 0;
    TColor FShadowColor = clGray;
    TShadowType FShadowType = stRightBottom;
    TGlowMode FGlow = gmNone;
    TColor FGlowGradientColor = clWhite;
    TColor FGlowRadialColor = clWhite;
    std::unique_ptr<TGPPicture> FPicture;
    TFillPicturePosition FPicturePosition = ppTopLeft;
    int FPictureLeft = 0;
    int FPictureTop = 0;
    TFillPictureSize FPictureSize = psOriginal;
    int FPictureWidth = 50;
    int FPictureHeight = 50;
    bool FPictureAspectRatio = false;
    TPictureMode FPictureAspectMode = pmStretch;
    std::unique_ptr<TGPPicture> FBackGroundPicture;
    TFillPicturePosition FBackGroundPicturePosition = ppTopLeft;
    int FBackGroundPictureLeft = 0;
    int FBackGroundPictureTop = 0;
    TFillPictureMode FBackGroundPictureMode = pmOutsideFill;
    bool FBackGroundPictureAspectRatio = false;
    TPictureMode FBackGroundPictureAspectMode = pmStretch;
    bool FFocus = false;
    TColor FFocusColor = clBlack;
    TGPRectF FFocusRect;
    int FUpdateCount = 0;
};

} // namespace lanterna
