#include "slideshow/slide_show_items.h"

#include <algorithm>

namespace lanterna {

TSlideShowItems::TSlideShowItems() = default;

TSlideShowItems::~TSlideShowItems() = default;

TSlideShowItem* TSlideShowItems::Add() {
    return Insert(Count());
}

TSlideShowItem* TSlideShowItems::Insert(int index) {
    CheckIndex(index, Count());
    auto* item = FItems.insert(FItems.begin() + index, std::make_unique<TSlideShowItem>(this))->get();
    Update();
    return item;
}

void TSlideShowItems::Delete(int index) {
    CheckIndex(index, Count() - 1);
    // The slide leaves the list before it is freed, so that nothing finds it half destroyed.
    std::unique_ptr<TSlideShowItem> item = std::move(FItems[std::size_t(index)]);
    FItems.erase(FItems.begin() + index);
    item.reset();
    Update();
}

void TSlideShowItems::Clear() {
    if (FItems.empty())
        return;
    std::vector<std::unique_ptr<TSlideShowItem>> items = std::move(FItems);
    FItems.clear();
    items.clear();
    Update();
}

void TSlideShowItems::Move(int from, int to) {
    CheckIndex(from, Count() - 1);
    CheckIndex(to, Count() - 1);
    if (from == to)
        return;
    const auto at = [this](int i) { return FItems.begin() + i; };
    if (from < to)
        std::rotate(at(from), at(from + 1), at(to + 1));
    else
        std::rotate(at(to), at(from), at(from + 1));
    Update();
}

TSlideShowItem* TSlideShowItems::Items(int index) const {
    CheckIndex(index, Count() - 1);
    return FItems[std::size_t(index)].get();
}

int TSlideShowItems::IndexOf(const TSlideShowItem* item) const {
    const auto found =
        std::find_if(FItems.begin(), FItems.end(), [item](const auto& p) { return p.get() == item; });
    return found == FItems.end() ? -1 : int(found - FItems.begin());
}

void TSlideShowItems::Assign(const TSlideShowItems& source) {
    if (&source == this)
        return;
    Clear();
    for (const auto& item : source.FItems)
        Add()->Assign(*item);
}

void TSlideShowItems::CheckIndex(int index, int last) const {
    if (index < 0 || index > last)
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
}

void TSlideShowItems::Update() {
    if (OnChange)
        OnChange();
}

} // namespace lanterna
