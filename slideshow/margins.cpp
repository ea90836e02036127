#include "slideshow/margins.h"

#include "platform/store_changed.h"

namespace lanterna {

void TMargins::SetLeft(int value) {
    Change(StoreChanged(FLeft, value));
}
void TMargins::SetTop(int value) {
    Change(StoreChanged(FTop, value));
}
void TMargins::SetRight(int value) {
    Change(StoreChanged(FRight, value));
}
void TMargins::SetBottom(int value) {
    Change(StoreChanged(FBottom, value));
}

void TMargins::SetBounds(int left, int top, int right, int bottom) {
    bool changed = StoreChanged(FLeft, left);
    changed |= StoreChanged(FTop, top);
    changed |= StoreChanged(FRight, right);
    changed |= StoreChanged(FBottom, bottom);
    Change(changed);
}

void TMargins::Assign(const TMargins& source) {
    if (&source != this)
        SetBounds(source.FLeft, source.FTop, source.FRight, source.FBottom);
}

void TMargins::Change(bool changed) {
    if (changed && OnChange)
        OnChange();
}

} // namespace lanterna
