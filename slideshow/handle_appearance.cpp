#include "slideshow/handle_appearance.h"

#include "platform/store_changed.h"

namespace lanterna {

void THandleAppearance::SetColor(TColor value) {
    Change(StoreChanged(FColor, value));
}
void THandleAppearance::SetBorderColor(TColor value) {
    Change(StoreChanged(FBorderColor, value));
}
void THandleAppearance::SetArrowColor(TColor value) {
    Change(StoreChanged(FArrowColor, value));
}
void THandleAppearance::SetOpacity(std::uint8_t value) {
    Change(StoreChanged(FOpacity, value));
}
void THandleAppearance::SetSize(int value) {
    Change(StoreChanged(FSize, value));
}

void THandleAppearance::Assign(const THandleAppearance& source) {
    FOpacity = source.FOpacity;
    FBorderColor = source.FBorderColor;
    FSize = source.FSize;
    FArrowColor = source.FArrowColor;
    FColor = source.FColor;
}

void THandleAppearance::Change(bool changed) {
    if (changed && OnChange)
        OnChange();
}

} // namespace lanterna
