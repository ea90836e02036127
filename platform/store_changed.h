#pragma once
// The component setter rule: compare, and store only a different value.

namespace lanterna {

// Stores `value` into `field` and returns true when they differed; leaves `field` alone otherwise.
template <typename T, typename V> bool StoreChanged(T& field, const V& value) {
    if (field == value)
        return false;
    field = value;
    return true;
}

} // namespace lanterna
