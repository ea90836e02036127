#include "slideshow/internal/selection_step.h"

namespace lanterna {

int ResolveSelection(int value, bool forward, int count, const std::function<bool(int)>& selectable) {
    int first = -1, last = -1;
    for (int i = 0; i < count; ++i) {
        if (selectable(i)) {
            last = i;
            if (first < 0)
                first = i;
        }
    }
    if (first < 0)
        return -1;
    int a = value < 0 ? count - 1 : value > count - 1 ? 0 : value;
    while (!selectable(a)) {
        if (forward)
            a = a + 1 > last ? 0 : a + 1;
        else
            a = a - 1 < first ? count - 1 : a - 1;
    }
    return a;
}

} // namespace lanterna
