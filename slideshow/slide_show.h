#pragma once
// The slide-show control: shows its slides one at a time, each fitted into the control and framed by
// a placeholder, and moves on to the next after a set interval through a transition. It owns the
// slides, the thumbnail band, the transition, two timers, the fills it paints with and a background
// loader thread.
// Programs include this header, and folder_watch.h to follow a folder; the other headers here are
// the types its interface names and the painting pieces the tools draw with, and slideshow/internal/
// holds what only the library's own files use.

#include "slideshow/color_tones.h"
#include "slideshow/handle_appearance.h"
#include "slideshow/margins.h"
#include "slideshow/slide_painter.h"
#include "slideshow/slide_show_items.h"
#include "slideshow/slide_show_types.h"
#include "slideshow/thumbnail_band.h"
#include "slideshow/transition.h"

#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace lanterna {

class TFill;
class TFullScreenForm;
class TScaledPictures;
class TSlideLoader;
struct TLoadContext;
struct TPictureLayout;
class TTimer;

class TSlideShow : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TSlideShow)

public:
    using TSlideShowHintEvent = std::function<void(TSlideShow* Sender, int itemindex, QString& Hint)>;
    using TSlideShowClickEvent = std::function<void(TSlideShow* Sender, int itemindex)>;
    using TSlideShowLoadEvent = std::function<void(TSlideShow* Sender, int itemindex)>;
    using TSlideShowCustomDrawEvent = std::function<void(TSlideShow* Sender, int itemindex, TGPGraphics& g,
                                                         const TGPRectF& R, TSlideShowItemKind Kind)>;
    using TSlideShowControlCustomDrawEvent =
        std::function<void(TSlideShow* Sender, QWidget* Control, int itemindex, QImage& bmp)>;

    static constexpr int kDefaultWidth = 500;
    static constexpr int kDefaultHeight = 400;

    explicit TSlideShow(QWidget* parent = nullptr);
    ~TSlideShow() override;

    // --- Operations
    // Every file the mask matches (directory order, no sub-folders) becomes a slide of `AKind`; the
    // flags put the file's path into the slide's Description, Text and Hint.
    void AddItemsFromFolder(const QString& AFolder, TSlideShowItemKind AKind, bool DescriptionLocation,
                            bool CaptionLocation, bool LocationThumbHint);
    // Makes the slides those of `files`, in that order, while the show goes on: a file that has a
    // slide keeps it with its picture (read again only when listed in `changed`, or when it had lost
    // its file), a new file gets a new slide as AddItemsFromFolder makes it, and the slides of files
    // no longer there leave. The selected slide stays selected; when it has left, the one that took
    // its place stands. Does nothing when the slides are those files already.
    void SyncItemsWithFiles(const QStringList& files, const QStringList& changed, TSlideShowItemKind AKind,
                            bool DescriptionLocation, bool CaptionLocation, bool LocationThumbHint);
    void BeginUpdate();
    void EndUpdate();
    void StartThread();
    void StopThread();
    void Next();
    void Previous();
    void FullScreen();
    void Normal();
    // Builds every slide's picture again.
    void UpdateImages();
    // Takes a new snapshot of the slide that shows `control`.
    void UpdateControlImage(QWidget* control);
    void SetColorTones(const TColorTones& tones);
    // Colours the fills after one of the built-in styles; an unknown style changes nothing.
    void SetComponentStyle(int style);

    // Lays out again unless updating, and repaints.
    void Changed();
    void CalculateRects();
    TSizeD GetAspectSize(double pw, double ph, double bw, double bh, double percentage) const;
    // Where pictures are fitted: the control less its margins, the placeholder spacing and the
    // thumbnail band.
    TGPRectF ContentRect() const;
    // Scrolls the thumbnail band, or scrolls it the least that shows the slide's thumbnail.
    void ScrollTo(double position);
    void ScrollToItem(int index);
    // The hint for a point: the control's own, or the hint of the thumbnail under it.
    QString ThumbnailHint(double x, double y);
    // With TabStop on (the default) Tab reaches the control and the arrow keys page through the
    // slides; with it off Tab and the arrows are left to the window, which moves the focus with Tab.
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool value);

    // Timer and window handlers.
    void RotateTimerEvent();
    void AnimateTimerEvent();
    void FullScreenClose();
    const TTimer* RotateTimer() const { return FRotateTimer; }
    const TTimer* AnimateTimer() const { return FAnimateTimer; }

    // --- Parts
    // The band of thumbnails with its scroll handles.
    TThumbnailBand& Band() { return FBand; }
    const TThumbnailBand& Band() const { return FBand; }
    // The slide change in progress, or the last one.
    TTransition& Transition() { return FTransition; }
    const TTransition& Transition() const { return FTransition; }

    // --- Properties
    TSlideShowItems* Items() const { return FItems.get(); }
    void SetItems(const TSlideShowItems& value);
    int ItemIndex() const { return FItemIndex; }
    // Selects a slide (wrapping round, skipping slides that are invisible or disabled) and starts
    // the transition to it.
    void SetItemIndex(int value);
    TFill* Fill() const { return FFill.get(); }
    void SetFill(const TFill& value);
    TFill* PlaceHolderFill() const { return FPlaceHolderFill.get(); }
    void SetPlaceHolderFill(const TFill& value);
    TFill* DescriptionFill() const { return FDescriptionFill.get(); }
    void SetDescriptionFill(const TFill& value);
    TFill* ThumbNailHolderFill() const { return FBand.HolderFill(); }
    void SetThumbNailHolderFill(const TFill& value);
    TFill* ThumbNailSelectedFill() const { return FBand.SelectedFill(); }
    void SetThumbNailSelectedFill(const TFill& value);
    bool PlaceHolder() const { return FPlaceHolderVisible; }
    void SetPlaceHolder(bool value);
    int PlaceHolderSpacing() const { return FPlaceHolderSpacing; }
    void SetPlaceHolderSpacing(int value);
    TMargins* Margin() { return &FMargin; }
    void SetMargin(const TMargins& value);
    TSlideShowItemMode ItemMode() const { return FItemMode; }
    void SetItemMode(TSlideShowItemMode value);
    bool AspectRatio() const { return FAspectRatio; }
    void SetAspectRatio(bool value);
    int StretchPercentage() const { return FStretchPercentage; }
    // Clamped to 50 .. 100.
    void SetStretchPercentage(int value);
    bool Rotation() const { return FRotation; }
    void SetRotation(bool value);
    int RotationInterval() const { return FRotationInterval; }
    void SetRotationInterval(int value);
    bool Animation() const { return FAnimation; }
    void SetAnimation(bool value);
    TSlideShowTransitions Transitions() const { return FTransitions; }
    void SetTransitions(TSlideShowTransitions value);
    TSlideShowAnimations Animations() const { return FAnimations; }
    void SetAnimations(TSlideShowAnimations value);
    int FadeAnimationFactor() const { return FFadeAnimationFactor; }
    void SetFadeAnimationFactor(int value);
    int HolderAnimationFactor() const { return FHolderAnimationFactor; }
    void SetHolderAnimationFactor(int value);
    bool LoadEffect() const { return FLoadEffect; }
    void SetLoadEffect(bool value);
    bool ShowDescription() const { return FShowDescription; }
    void SetShowDescription(bool value);
    bool ThumbNails() const { return FBand.Visible(); }
    void SetThumbNails(bool value);
    bool ThumbNailsFloating() const { return FBand.Floating(); }
    void SetThumbNailsFloating(bool value) { FBand.SetFloating(value); }
    TThumbNailPosition ThumbNailPosition() const { return FBand.Position(); }
    void SetThumbNailPosition(TThumbNailPosition value) { FBand.SetPosition(value); }
    int ThumbNailWidth() const { return FBand.Width(); }
    void SetThumbNailWidth(int value) { FBand.SetWidth(value); }
    int ThumbNailHeight() const { return FBand.Height(); }
    void SetThumbNailHeight(int value) { FBand.SetHeight(value); }
    int ThumbNailSpacing() const { return FBand.Spacing(); }
    void SetThumbNailSpacing(int value) { FBand.SetSpacing(value); }
    TMargins* ThumbNailHolderMargin() { return FBand.HolderMargin(); }
    void SetThumbNailHolderMargin(const TMargins& value);
    THandleAppearance* ThumbNailHandles() { return FBand.Handles(); }
    void SetThumbNailHandles(const THandleAppearance& value) { FBand.SetHandles(value); }
    double ScrollPos() const { return FBand.ScrollPos(); }
    double MaxScrollPos() const { return FBand.MaxScrollPos(); }
    QString Version() const { return QStringLiteral("1.1.0.0"); }
    void SetVersion(const QString&) {}
    // The nesting of BeginUpdate and EndUpdate; the layout waits while it is above 0.
    int UpdateCount() const { return FUpdateCount; }
    bool IsFullScreen() const { return FFullScreen != nullptr; }
    // The mouse is over the current picture, whose description then shows (HoveredDescription).
    bool ShowDes() const { return FShowDes; }
    int HoveredDescription() const { return FhoveredDescription; }

    // --- Loading and painting ahead
    // Slides remain to be loaded, or the loader has one in hand.
    bool Loading() const;
    // The slides' data changed: the loader starts its next pass at the first slide.
    void SetRestartLoop();
    // Waits until the scaled copies of pictures being made ahead are done, so that the next paint draws
    // from them: for tools that compare frames.
    void FinishScaledPictures();
    // Whether the slide's picture is kept, or being made, scaled to the size it is drawn at, with its
    // coarse copy when `coarse`.
    bool PictureScaled(int index, bool coarse = false) const;

    // --- Events
    TSlideShowHintEvent OnThumbHint;
    TSlideShowClickEvent OnThumbClick;
    TSlideShowClickEvent OnThumbDblClick;
    // Raised on the user-interface thread once a slide's picture, and then its thumbnail, exist.
    TSlideShowLoadEvent OnThumbLoaded;
    TSlideShowLoadEvent OnImageLoaded;
    // Raised on the loader thread while it draws a text, image-and-text or custom slide.
    TSlideShowCustomDrawEvent OnCustomDraw;
    // Raised on the user-interface thread to capture an ikControl slide; `bmp` has the control's size.
    TSlideShowControlCustomDrawEvent OnCustomDrawControl;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    template <typename T, typename V> void SetProperty(T& field, const V& value);
    // A slide for a file of a folder, its path in the fields the flags name (slide_show_folder.cpp).
    void InsertFolderItem(int index, const QString& path, TSlideShowItemKind AKind, bool DescriptionLocation,
                          bool CaptionLocation, bool LocationThumbHint);
    bool ValidIndex(int index) const { return index >= 0 && index < FItems->Count(); }
    bool Selectable(int index) const { return FItems->Items(index)->Selectable(); }
    void Select(int value, bool forward);
    void StartTransition();
    void PrepareTransitionPictures();
    // Where the rotation goes from the selected slide, before slides that cannot be selected are passed.
    int RotationTarget() const;
    void PrepareFollowingPicture();
    void FinishTransition();
    void UpdateAnimateTimer();
    // One step of the placeholder (True once it has arrived, or when it does not move).
    bool StepPlaceHolder();

    // Painting (slide_show_paint.cpp).
    // Where the placeholder is drawn in this paint, if it is.
    std::optional<TGPRectF> PlaceHolderShown() const;
    // The background, but for the pixels an opaque placeholder at `placeHolder` will cover.
    void DrawBackground(TGPGraphics& g, const std::optional<TGPRectF>& placeHolder);
    void DrawSlides(TGPGraphics& g, const std::optional<TGPRectF>& placeHolder);
    void DrawSlide(int index, TGPGraphics& g, std::uint8_t opacity);
    // A change of the background or description fill: the cached background is rendered again.
    void FillChanged();
    // The control's side of loading (slide_show_loading.cpp): what the loader is told of the control,
    // and what the control does with the loader's word.
    void ConnectLoader();
    TLoadContext LoadContext();
    // Where the slides' pictures are shown within `content`: the layout's rule, which the loader also
    // decodes them by.
    TPictureLayout PictureLayout(const TGPRectF& content) const;
    QImage CaptureControl(QWidget* control, int index);
    // The slide's file cannot be read again: the show moves on when it stands on it.
    void SourceLost(int index);
    // Asks the loader to choose its next job.
    void ScheduleLoad();

    // Hover over the current picture.
    int FhoveredDescription = -1;
    bool FShowDes = false;
    bool FTabStop = true;
    // Full screen.
    std::unique_ptr<TFullScreenForm> FFullScreen;
    // Loader.
    std::unique_ptr<TSlideLoader> FLoader;
    // General.
    int FUpdateCount = 0;
    TTransition FTransition;
    TTimer* FRotateTimer;
    TTimer* FAnimateTimer;
    // Painting.
    TBackgroundCache FBackground;
    std::unique_ptr<TScaledPictures> FScaledPictures;
    int FItemIndex = 0;
    // Appearance and behaviour.
    std::unique_ptr<TSlideShowItems> FItems = std::make_unique<TSlideShowItems>();
    std::unique_ptr<TFill> FFill;
    TMargins FMargin;
    TThumbnailBand FBand{this, FMargin, *FItems};
    std::unique_ptr<TFill> FPlaceHolderFill;
    int FPlaceHolderSpacing = 40;
    TSlideShowItemMode FItemMode = imNormal;
    bool FAspectRatio = true;
    int FFadeAnimationFactor = 6;
    int FRotationInterval = 3500;
    TSlideShowTransitions FTransitions{stFade, stPlaceHolder};
    bool FRotation = true;
    bool FAnimation = true;
    int FHolderAnimationFactor = 6;
    TSlideShowAnimations FAnimations{saLeftToRight};
    bool FPlaceHolderVisible = true;
    bool FLoadEffect = true;
    std::unique_ptr<TFill> FDescriptionFill;
    bool FShowDescription = true;
    int FStretchPercentage = 100;
};

} // namespace lanterna
