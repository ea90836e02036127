#pragma once
// Enumerations and value types of the graphics wrappers, with the platform library's ordinals so that
// stored values (a fill's hatch style, a smoothing mode) pass through unchanged.

#include "platform/types.h"

#include <cstdint>
#include <utility>

namespace lanterna {

// A colour with opacity: opacity << 24 | R << 16 | G << 8 | B (see AlphaColor).
using ARGB = std::uint32_t;

enum TStatus : std::uint8_t {
    Ok,
    GenericError,
    InvalidParameter,
    OutOfMemory,
    ObjectBusy,
    InsufficientBuffer,
    NotImplemented,
    Win32Error,
    WrongState,
    Aborted,
    FileNotFound,
    ValueOverflow,
    AccessDenied,
    UnknownImageFormat,
    FontFamilyNotFound,
    FontStyleNotFound,
    NotTrueTypeFont,
    UnsupportedGdiplusVersion,
    GdiplusNotInitialized,
    PropertyNotFound,
    PropertyNotSupported
};

enum SmoothingMode : std::int8_t {
    SmoothingModeInvalid = -1,
    SmoothingModeDefault = 0,
    SmoothingModeHighSpeed = 1,
    SmoothingModeHighQuality = 2,
    SmoothingModeNone = 3,
    SmoothingModeAntiAlias = 4,
    SmoothingModeAntiAlias8x8 = 5
};

enum TextRenderingHint : std::uint8_t {
    TextRenderingHintSystemDefault,
    TextRenderingHintSingleBitPerPixelGridFit,
    TextRenderingHintSingleBitPerPixel,
    TextRenderingHintAntiAliasGridFit,
    TextRenderingHintAntiAlias,
    TextRenderingHintClearTypeGridFit
};

enum FillMode : std::uint8_t { FillModeAlternate, FillModeWinding };

enum CombineMode : std::uint8_t {
    CombineModeReplace,
    CombineModeIntersect,
    CombineModeUnion,
    CombineModeXor,
    CombineModeExclude,
    CombineModeComplement
};

enum MatrixOrder : std::uint8_t { MatrixOrderPrepend, MatrixOrderAppend };

enum LinearGradientMode : std::uint8_t {
    LinearGradientModeHorizontal,
    LinearGradientModeVertical,
    LinearGradientModeForwardDiagonal,
    LinearGradientModeBackwardDiagonal
};

enum WrapMode : std::uint8_t {
    WrapModeTile,
    WrapModeTileFlipX,
    WrapModeTileFlipY,
    WrapModeTileFlipXY,
    WrapModeClamp
};

enum DashStyle : std::uint8_t {
    DashStyleSolid,
    DashStyleDash,
    DashStyleDot,
    DashStyleDashDot,
    DashStyleDashDotDot
};

enum StringAlignment : std::uint8_t { StringAlignmentNear, StringAlignmentCenter, StringAlignmentFar };

enum StringTrimming : std::uint8_t {
    StringTrimmingNone,
    StringTrimmingCharacter,
    StringTrimmingWord,
    StringTrimmingEllipsisCharacter,
    StringTrimmingEllipsisWord,
    StringTrimmingEllipsisPath
};

// String format flags (a bit mask).
inline constexpr int StringFormatFlagsNoWrap = 0x1000;
inline constexpr int StringFormatFlagsNoClip = 0x4000;

enum ColorAdjustType : std::uint8_t {
    ColorAdjustTypeDefault,
    ColorAdjustTypeBitmap,
    ColorAdjustTypeBrush,
    ColorAdjustTypePen,
    ColorAdjustTypeText
};

enum HatchStyle : std::uint8_t {
    HatchStyleHorizontal,
    HatchStyleVertical,
    HatchStyleForwardDiagonal,
    HatchStyleBackwardDiagonal,
    HatchStyleCross,
    HatchStyleDiagonalCross,
    HatchStyle05Percent,
    HatchStyle10Percent,
    HatchStyle20Percent,
    HatchStyle25Percent,
    HatchStyle30Percent,
    HatchStyle40Percent,
    HatchStyle50Percent,
    HatchStyle60Percent,
    HatchStyle70Percent,
    HatchStyle75Percent,
    HatchStyle80Percent,
    HatchStyle90Percent,
    HatchStyleLightDownwardDiagonal,
    HatchStyleLightUpwardDiagonal,
    HatchStyleDarkDownwardDiagonal,
    HatchStyleDarkUpwardDiagonal,
    HatchStyleWideDownwardDiagonal,
    HatchStyleWideUpwardDiagonal,
    HatchStyleLightVertical,
    HatchStyleLightHorizontal,
    HatchStyleNarrowVertical,
    HatchStyleNarrowHorizontal,
    HatchStyleDarkVertical,
    HatchStyleDarkHorizontal,
    HatchStyleDashedDownwardDiagonal,
    HatchStyleDashedUpwardDiagonal,
    HatchStyleDashedHorizontal,
    HatchStyleDashedVertical,
    HatchStyleSmallConfetti,
    HatchStyleLargeConfetti,
    HatchStyleZigZag,
    HatchStyleWave,
    HatchStyleDiagonalBrick,
    HatchStyleHorizontalBrick,
    HatchStyleWeave,
    HatchStylePlaid,
    HatchStyleDivot,
    HatchStyleDottedGrid,
    HatchStyleDottedDiamond,
    HatchStyleShingle,
    HatchStyleTrellis,
    HatchStyleSphere,
    HatchStyleSmallGrid,
    HatchStyleSmallCheckerBoard,
    HatchStyleLargeCheckerBoard,
    HatchStyleOutlinedDiamond,
    HatchStyleSolidDiamond,
    HatchStyleTotal
};
inline constexpr HatchStyle HatchStyleLargeGrid = HatchStyleCross;

// The decoded format of an image, from the decoder's raw format.
enum TGPImageFormat : std::uint8_t {
    ifUndefined,
    ifMemoryBMP,
    ifBMP,
    ifEMF,
    ifWMF,
    ifJPEG,
    ifPNG,
    ifGIF,
    ifTIFF,
    ifEXIF,
    ifIcon
};

// Pixel-format codes: index | bits per pixel << 8 | flags.
using PixelFormat = std::uint32_t;
inline constexpr PixelFormat PixelFormatIndexed = 0x00010000;
inline constexpr PixelFormat PixelFormatGDI = 0x00020000;
inline constexpr PixelFormat PixelFormatAlpha = 0x00040000;
inline constexpr PixelFormat PixelFormatPAlpha = 0x00080000;
inline constexpr PixelFormat PixelFormatCanonical = 0x00200000;
inline constexpr PixelFormat PixelFormatUndefined = 0;
inline constexpr PixelFormat PixelFormat1bppIndexed = 0x00030101;
inline constexpr PixelFormat PixelFormat4bppIndexed = 0x00030402;
inline constexpr PixelFormat PixelFormat8bppIndexed = 0x00030803;
inline constexpr PixelFormat PixelFormat16bppGrayScale = 0x00101004;
inline constexpr PixelFormat PixelFormat16bppRGB555 = 0x00021005;
inline constexpr PixelFormat PixelFormat16bppRGB565 = 0x00021006;
inline constexpr PixelFormat PixelFormat24bppRGB = 0x00021808;
inline constexpr PixelFormat PixelFormat32bppRGB = 0x00022009;
inline constexpr PixelFormat PixelFormat32bppARGB = 0x0026200A;
inline constexpr PixelFormat PixelFormat32bppPARGB = 0x000E200B;
inline constexpr PixelFormat PixelFormat48bppRGB = 0x0010300C;
inline constexpr PixelFormat PixelFormat64bppARGB = 0x0034400D;

constexpr int GetPixelFormatSize(PixelFormat f) {
    return (f >> 8) & 0xFF;
}
constexpr bool IsAlphaPixelFormat(PixelFormat f) {
    return f & PixelFormatAlpha;
}
constexpr bool IsIndexedPixelFormat(PixelFormat f) {
    return f & PixelFormatIndexed;
}

// A 5 x 5 colour matrix applied to (R, G, B, A, 1) as a row vector, components 0..1.
struct TColorMatrix {
    float m[5][5] = {{1, 0, 0, 0, 0}, {0, 1, 0, 0, 0}, {0, 0, 1, 0, 0}, {0, 0, 0, 1, 0}, {0, 0, 0, 0, 1}};
    bool IsIdentity() const;
    // Only element [3][3] differs from the identity: a plain opacity.
    bool IsOpacityOnly() const;
};

constexpr std::uint8_t AlphaOf(ARGB c) {
    return c >> 24;
}
constexpr std::uint8_t RedOf(ARGB c) {
    return (c >> 16) & 0xFF;
}
constexpr std::uint8_t GreenOf(ARGB c) {
    return (c >> 8) & 0xFF;
}
constexpr std::uint8_t BlueOf(ARGB c) {
    return c & 0xFF;
}
constexpr ARGB MakeARGB(std::uint8_t a, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return ARGB(a) << 24 | ARGB(r) << 16 | ARGB(g) << 8 | b;
}

} // namespace lanterna
