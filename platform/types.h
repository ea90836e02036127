#pragma once
// Value types and small helpers shared by every library of the system.

#include <QString>

#include <bit>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <type_traits>

namespace lanterna {

// A colour 0x00BBGGRR; clNone switches off whatever feature uses it.
using TColor = std::uint32_t;
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;

// #RRGGBB written the way the design writes colours, as a TColor.
constexpr TColor RGBColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return TColor(r) | TColor(g) << 8 | TColor(b) << 16;
}
constexpr std::uint8_t GetRValue(TColor c) {
    return c & 0xFF;
}
constexpr std::uint8_t GetGValue(TColor c) {
    return (c >> 8) & 0xFF;
}
constexpr std::uint8_t GetBValue(TColor c) {
    return (c >> 16) & 0xFF;
}

// ARGB (opacity << 24 | R << 16 | G << 8 | B) made from a TColor and an opacity byte.
constexpr std::uint32_t AlphaColor(TColor c, std::uint8_t opacity) {
    return std::uint32_t(opacity) << 24 | std::uint32_t(GetRValue(c)) << 16 |
           std::uint32_t(GetGValue(c)) << 8 | GetBValue(c);
}

struct TGPRectF {
    float X = 0, Y = 0, Width = 0, Height = 0;
    friend bool operator==(const TGPRectF&, const TGPRectF&) = default;
};

struct TGPPointF {
    float X = 0, Y = 0;
    friend bool operator==(const TGPPointF&, const TGPPointF&) = default;
};

struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

struct TPoint {
    int X = 0, Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

// The design's "round": to nearest, halves to even.
inline std::int64_t Round(double v) {
    return static_cast<std::int64_t>(std::nearbyint(v));
}

// A small set over an unscoped enumeration with at most 64 members.
template <typename E> class TSet {
    static_assert(std::is_enum_v<E>);

public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> members) {
        for (E m : members)
            FBits |= Bit(m);
    }
    constexpr bool Contains(E m) const { return FBits & Bit(m); }
    constexpr TSet& Include(E m) {
        FBits |= Bit(m);
        return *this;
    }
    constexpr TSet& Exclude(E m) {
        FBits &= ~Bit(m);
        return *this;
    }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr int Count() const { return std::popcount(FBits); }
    constexpr std::uint64_t Bits() const { return FBits; }
    friend constexpr bool operator==(const TSet&, const TSet&) = default;

private:
    static constexpr std::uint64_t Bit(E m) { return std::uint64_t(1) << static_cast<unsigned>(m); }
    std::uint64_t FBits = 0;
};

// Errors the system raises: they travel to the handler and on to the default error display.
class Exception : public std::runtime_error {
public:
    explicit Exception(const QString& message)
        : std::runtime_error(message.toStdString()), FMessage(message) {}
    const QString& Message() const { return FMessage; }

private:
    QString FMessage;
};

// An index outside a list's bounds.
class EListError : public Exception {
public:
    using Exception::Exception;
};

// A file or folder could not be created, read or written.
class EInOutError : public Exception {
public:
    using Exception::Exception;
};

} // namespace lanterna
