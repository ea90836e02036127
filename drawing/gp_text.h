#pragma once
// Fonts and string formats of the graphics wrappers.

#include "drawing/gp_types.h"

#include <QFont>

namespace lanterna {

enum FontStyle : std::uint8_t {
    FontStyleRegular = 0,
    FontStyleBold = 1,
    FontStyleItalic = 2,
    FontStyleBoldItalic = 3,
    FontStyleUnderline = 4,
    FontStyleStrikeout = 8
};

// A font of a family, a style and a size in points (at 96 dots per inch, whatever the surface).
class TGPFont {
public:
    TGPFont(const QString& family, float emSizePoints, int style = FontStyleRegular);
    bool IsAvailable() const { return FStatus == Ok; }
    TStatus GetLastStatus() { return std::exchange(FLastStatus, Ok); }
    float GetSize() const { return FSize; }
    int GetStyle() const { return FStyle; }
    QString GetFamily() const { return FFont.family(); }
    const QFont& QtFont() const { return FFont; }

private:
    QFont FFont;
    float FSize;
    int FStyle;
    TStatus FStatus = Ok;
    TStatus FLastStatus = Ok;
};

// Layout of text in a rectangle: horizontal alignment, line (vertical) alignment, flags and trimming.
class TGPStringFormat {
public:
    explicit TGPStringFormat(int formatFlags = 0) : FFlags(formatFlags) {}
    TStatus SetAlignment(StringAlignment align) {
        FAlignment = align;
        return Ok;
    }
    StringAlignment GetAlignment() const { return FAlignment; }
    TStatus SetLineAlignment(StringAlignment align) {
        FLineAlignment = align;
        return Ok;
    }
    StringAlignment GetLineAlignment() const { return FLineAlignment; }
    TStatus SetFormatFlags(int flags) {
        FFlags = flags;
        return Ok;
    }
    int GetFormatFlags() const { return FFlags; }
    TStatus SetTrimming(StringTrimming trimming) {
        FTrimming = trimming;
        return Ok;
    }
    StringTrimming GetTrimming() const { return FTrimming; }

    bool NoWrap() const { return FFlags & StringFormatFlagsNoWrap; }
    bool Ellipsis() const { return FTrimming >= StringTrimmingEllipsisCharacter; }
    // Qt::AlignmentFlag | Qt::TextFlag bits for this format.
    int QtFlags() const;

private:
    StringAlignment FAlignment = StringAlignmentNear;
    StringAlignment FLineAlignment = StringAlignmentNear;
    int FFlags;
    StringTrimming FTrimming = StringTrimmingCharacter;
};

} // namespace lanterna
