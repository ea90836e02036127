#pragma once
// Four margins (left, top, right, bottom) of a component, announcing each change.

#include <functional>

namespace lanterna {

class TMargins {
public:
    static constexpr int kDefault = 3;

    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Right() const { return FRight; }
    int Bottom() const { return FBottom; }
    void SetLeft(int value);
    void SetTop(int value);
    void SetRight(int value);
    void SetBottom(int value);
    // Sets all four at once and announces one change when any of them differs.
    void SetBounds(int left, int top, int right, int bottom);
    // Copies the four values from another set of margins and announces the change.
    void Assign(const TMargins& source);

    std::function<void()> OnChange;

private:
    void Change(bool changed);

    int FLeft = kDefault, FTop = kDefault, FRight = kDefault, FBottom = kDefault;
};

} // namespace lanterna
