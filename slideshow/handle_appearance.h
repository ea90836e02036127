#pragma once
// Look of the two round scroll handles at the ends of the thumbnail band.

#include "platform/types.h"

#include <cstdint>
#include <functional>

namespace lanterna {

class THandleAppearance {
public:
    TColor Color() const { return FColor; }
    TColor BorderColor() const { return FBorderColor; }
    TColor ArrowColor() const { return FArrowColor; }
    std::uint8_t Opacity() const { return FOpacity; }
    // Diameter of a handle in pixels.
    int Size() const { return FSize; }
    void SetColor(TColor value);
    void SetBorderColor(TColor value);
    void SetArrowColor(TColor value);
    void SetOpacity(std::uint8_t value);
    void SetSize(int value);
    // Copies every value from another appearance without announcing a change.
    void Assign(const THandleAppearance& source);

    std::function<void()> OnChange;

private:
    void Change(bool changed);

    std::uint8_t FOpacity = 200;
    TColor FBorderColor = clSilver;
    TColor FArrowColor = clBlack;
    TColor FColor = clSilver;
    int FSize = 35;
};

} // namespace lanterna
