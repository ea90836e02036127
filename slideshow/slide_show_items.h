#pragma once
// The slides of a slide show, in the order in which they are shown; owns them.

#include "slideshow/slide_show_item.h"

#include <functional>
#include <memory>
#include <vector>

namespace lanterna {

class TSlideShowItems final : public TSlideShowItemHolder {
    Q_DISABLE_COPY_MOVE(TSlideShowItems)

public:
    TSlideShowItems();
    ~TSlideShowItems();

    int Count() const { return int(FItems.size()); }
    TSlideShowItem* Add();
    // A new slide at `index` (0 .. Count); another index raises EListError.
    TSlideShowItem* Insert(int index);
    // Frees the slide at `index`; an index outside 0 .. Count - 1 raises EListError.
    void Delete(int index);
    void Clear();
    // Moves the slide at `from` to position `to`, the others closing up; an index outside
    // 0 .. Count - 1 raises EListError.
    void Move(int from, int to);
    // The slide at `index`; an index outside 0 .. Count - 1 raises EListError.
    TSlideShowItem* Items(int index) const;
    TSlideShowItem* operator[](int index) const { return Items(index); }
    int IndexOf(const TSlideShowItem* item) const override;
    // Replaces the slides by copies of another collection's slides.
    void Assign(const TSlideShowItems& source);

    // Raised after every change of membership; the control makes it its own Changed.
    std::function<void()> OnChange;

private:
    void CheckIndex(int index, int last) const;
    void Update();

    std::vector<std::unique_ptr<TSlideShowItem>> FItems;
};

} // namespace lanterna
