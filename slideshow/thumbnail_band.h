#pragma once
// The thumbnail band along one side of the slide show: where it lies, the cells its thumbnails are laid
// out in, its scrolling by the wheel and by the round handles at its ends (held, they repeat), its
// painting, and which thumbnail lies under a point. The show's ThumbNail* properties are kept here.

#include "drawing/gp_graphics.h"
#include "slideshow/handle_appearance.h"
#include "slideshow/margins.h"
#include "slideshow/slide_show_types.h"
#include "slideshow/thumbnail_handles.h"

#include <QPointF>
#include <QSize>

#include <functional>
#include <memory>

class QWidget;

namespace lanterna {

class TFill;
class TSlideShowItems;
class TTimer;

class TThumbnailBand {
public:
    // The band lies on `control`, within its `margin`, and shows the thumbnails of `items`; it repaints
    // its part of the control.
    TThumbnailBand(QWidget* control, const TMargins& margin, const TSlideShowItems& items);
    ~TThumbnailBand();
    TThumbnailBand(const TThumbnailBand&) = delete;
    TThumbnailBand& operator=(const TThumbnailBand&) = delete;

    // Raised when a property changed that moves or repaints the band, and after a scroll that moved
    // its cells: the show lays out again.
    std::function<void()> OnChange;
    std::function<void()> OnScroll;

    // --- Properties; a setter that changes its value announces it.
    bool Visible() const { return FVisible; }
    // True when the value changed.
    bool SetVisible(bool value);
    bool Floating() const { return FFloating; }
    void SetFloating(bool value);
    TThumbNailPosition Position() const { return FPosition; }
    void SetPosition(TThumbNailPosition value);
    int Width() const { return FWidth; }
    void SetWidth(int value);
    int Height() const { return FHeight; }
    void SetHeight(int value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int value);
    TMargins* HolderMargin() { return &FHolderMargin; }
    THandleAppearance* Handles() { return &FHandles; }
    void SetHandles(const THandleAppearance& value);
    TFill* HolderFill() const { return FHolderFill.get(); }
    TFill* SelectedFill() const { return FSelectedFill.get(); }

    // --- Geometry.
    TGPRectF HolderRect() const;
    // What the band takes from the pictures' room across its length: 0 when hidden or floating.
    double Reserved() const;
    // The cell of the n-th thumbnail laid out, from the band's scroll position.
    TGPRectF Cell(int n) const;
    // Where a thumbnail of `size` is drawn in its cell.
    static TGPRectF ThumbRect(const TGPRectF& cell, QSize size);
    // `count` thumbnails are laid out: how far the band may scroll follows.
    void SetCellCount(int count);

    // --- Scrolling.
    double ScrollPos() const { return FScrollPos; }
    double MaxScrollPos() const { return FMaxScrollPos; }
    // Scrolls to `position` held within 0 .. MaxScrollPos, and repaints the band.
    void ScrollTo(double position);
    // Scrolls the least that brings `cell` wholly into the band.
    void ScrollToCell(const TGPRectF& cell);
    bool CanScrollLeft() const;
    bool CanScrollRight() const;
    bool CanScrollUp() const;
    bool CanScrollDown() const;

    // --- Painting; `selected` is the slide whose cell gets the selected fill.
    void Draw(TGPGraphics& g, int selected);
    void DrawHandles(TGPGraphics& g);
    // Repaints the band and its handles only.
    void Repaint();

    // --- Pointer.
    // The first visible, enabled slide whose cell holds the point (edges included) and whose thumbnail
    // shows in the band; -1 when none.
    int ItemAt(double x, double y) const;
    // The thumbnail the mouse is over; True when it is another than before.
    int HoveredItem() const { return FHoveredItem; }
    bool SetHoveredItem(int index);
    TGPRectF HandleRect(THandleSide side) const;
    bool HandleDown(THandleSide side) const { return FHandleDown[side]; }
    bool HandleHover(THandleSide side) const { return FHandleHover[side]; }
    // A press presses the handle under it; a move lights the handle under it (True when there is one); a
    // release scrolls by the pressed handle unless its hold has scrolled already (True when one was
    // pressed).
    void PressHandles(const QPointF& p);
    bool HoverHandles(const QPointF& p);
    bool ReleaseHandles();
    // A tick of the handle timer: a handle held long enough scrolls on by one cell.
    void HandleTimerEvent();

private:
    template <typename T, typename V> void SetProperty(T& field, const V& value);
    bool HandleVisible(THandleSide side) const;
    bool AnyHandleDown() const;
    // One scroll step of every pressed handle (only those still visible, when asked).
    void ScrollByHandles(bool onlyVisible);

    QWidget* FControl;
    const TMargins& FMargin;
    const TSlideShowItems& FItems;
    bool FVisible = true;
    bool FFloating = false;
    TThumbNailPosition FPosition = tpBottom;
    int FWidth = 100;
    int FHeight = 100;
    int FSpacing = 10;
    TMargins FHolderMargin;
    THandleAppearance FHandles;
    std::unique_ptr<TFill> FHolderFill;
    std::unique_ptr<TFill> FSelectedFill;
    double FScrollPos = 0;
    double FMaxScrollPos = 0;
    int FHoveredItem = -1;
    // Pressed and hovered state of the four handles, by THandleSide.
    bool FHandleDown[4] = {};
    bool FHandleHover[4] = {};
    int FTimeDownOnArrow = 0;
    bool FDoHandleTimer = false;
    std::unique_ptr<TTimer> FHandleTimer;
};

} // namespace lanterna
