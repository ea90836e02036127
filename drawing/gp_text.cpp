#include "drawing/gp_text.h"

#include <QFontDatabase>

namespace lanterna {

TGPFont::TGPFont(const QString& family, float emSizePoints, int style) : FSize(emSizePoints), FStyle(style) {
    if (!QFontDatabase::hasFamily(family))
        FStatus = FLastStatus = FontFamilyNotFound;
    if (!(emSizePoints > 0)) {
        FStatus = FLastStatus = InvalidParameter;
        emSizePoints = 1;
    }
    FFont.setFamily(family);
    // Points at 96 dots per inch, so text has one size on bitmaps and on screens alike.
    FFont.setPixelSize(std::max(1, int(std::lround(emSizePoints * 96.0 / 72.0))));
    FFont.setBold(style & FontStyleBold);
    FFont.setItalic(style & FontStyleItalic);
    FFont.setUnderline(style & FontStyleUnderline);
    FFont.setStrikeOut(style & FontStyleStrikeout);
}

int TGPStringFormat::QtFlags() const {
    static constexpr int kHorizontal[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    static constexpr int kVertical[] = {Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom};
    int flags = kHorizontal[FAlignment] | kVertical[FLineAlignment];
    if (!NoWrap())
        flags |= Qt::TextWordWrap;
    if (FFlags & StringFormatFlagsNoClip)
        flags |= Qt::TextDontClip;
    return flags;
}

} // namespace lanterna
