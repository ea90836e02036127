#pragma once
// Where a selection lands: the requested index wrapped into the list, then moved on in the
// direction of travel past slides that cannot be selected.

#include <functional>

namespace lanterna {

// -1 when no slide of the `count` can be selected.
int ResolveSelection(int value, bool forward, int count, const std::function<bool(int)>& selectable);

} // namespace lanterna
