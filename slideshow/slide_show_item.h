#pragma once
// One slide of the slide show: what to show (a picture file, a window control, a text or a custom
// drawing), the texts that go with it, and the state of its background loading and layout.

#include "slideshow/slide_show_types.h"
#include "slideshow/text_font.h"

#include <QImage>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>

namespace lanterna {

class TGPPicture;
class TSlideShowItem;

// What a slide reaches of the collection that holds it: its place in the list, and the events the
// control showing the slides wires. A slide was made or looks different (the control repaints); a
// slide must be loaded again; a slide was given a control, which joins the control that shows it.
class TSlideShowItemHolder {
public:
    virtual int IndexOf(const TSlideShowItem* item) const = 0;

    std::function<void()> OnItemChange;
    std::function<void()> OnItemReload;
    std::function<void(const TSlideShowItem& item, QWidget* control)> OnItemControl;

protected:
    ~TSlideShowItemHolder() = default;
};

class TSlideShowItem {
    Q_DISABLE_COPY_MOVE(TSlideShowItem)

public:
    // Made by the collection (Add, Insert); announces itself to the control.
    explicit TSlideShowItem(TSlideShowItemHolder* collection);
    ~TSlideShowItem();

    TSlideShowItemHolder* Collection() const { return FCollection; }
    int Index() const;

    // Builds the slide's picture and thumbnail again, without a new layout.
    void Update();
    // Copies every property of another slide (not its loading state).
    void Assign(const TSlideShowItem& source);

    // The slide's picture data. Assigning copies into the owned holder.
    TGPPicture* Image() const { return FImage.get(); }
    void SetImage(const TGPPicture* value);
    const QString& Location() const { return FLocation; }
    void SetLocation(const QString& value);
    // For ikControl: the control shown as the slide (not owned; forgotten when it is destroyed).
    QWidget* Control() const { return FControl; }
    void SetControl(QWidget* value);
    TSlideShowItemKind Kind() const { return FKind; }
    // Also empties the picture data, so that the new kind builds its own.
    void SetKind(TSlideShowItemKind value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    const QString& Text() const { return FText; }
    void SetText(const QString& value);
    const QString& Hint() const { return FHint; }
    void SetHint(const QString& value);
    int CustomImageWidth() const { return FCustomImageWidth; }
    void SetCustomImageWidth(int value);
    int CustomImageHeight() const { return FCustomImageHeight; }
    void SetCustomImageHeight(int value);
    // The owned font; assigning copies.
    TTextFont* TextFont() { return &FTextFont; }
    const TTextFont* TextFont() const { return &FTextFont; }
    void SetTextFont(const TTextFont* value);
    int TextWidth() const { return FTextWidth; }
    void SetTextWidth(int value);
    int TextHeight() const { return FTextHeight; }
    void SetTextHeight(int value);
    bool TextAutoSize() const { return FTextAutoSize; }
    void SetTextAutoSize(bool value);
    bool Ellipsis() const { return FEllipsis; }
    void SetEllipsis(bool value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    TSlideShowTextLocation TextLocation() const { return FTextLocation; }
    void SetTextLocation(TSlideShowTextLocation value);
    TVerticalAlignment TextVerticalAlignment() const { return FTextVerticalAlignment; }
    void SetTextVerticalAlignment(TVerticalAlignment value);
    TAlignment TextHorizontalAlignment() const { return FTextHorizontalAlignment; }
    void SetTextHorizontalAlignment(TAlignment value);
    const QString& URL() const { return FURL; }
    void SetURL(const QString& value);
    TDescriptionPosition DescriptionPosition() const { return FDescriptionPosition; }
    void SetDescriptionPosition(TDescriptionPosition value);
    const QString& Description() const { return FDescription; }
    void SetDescription(const QString& value);
    TTextFont* DescriptionFont() { return &FDescriptionFont; }
    const TTextFont* DescriptionFont() const { return &FDescriptionFont; }
    void SetDescriptionFont(const TTextFont* value);

    // User data, not used by the control.
    QObject* ItemObject = nullptr;
    std::int32_t Tag = 0;

    // Loading state and layout.
    TImageThreadStatus ThreadStatus() const { return FThreadStatus; }
    TImageThreadStatus ThumbThreadStatus() const { return FThumbThreadStatus; }
    // The decoded picture, kept only while the slide is shown or about to be; never larger than the
    // largest screen.
    const QImage& OriginalImage() const { return FOriginalImage; }
    const QImage& Thumbnail() const { return FThumbnail; }
    // The picture's own size, from which the layout is made; 0 x 0 until loaded.
    QSize PictureSize() const { return FPictureSize; }
    // The slide was loaded once, but its file cannot be read any more (gone, unreadable): the rotation
    // passes it over until its data changes.
    bool SourceLost() const { return FSourceLost; }
    // The rotation, the arrow keys and a click on its thumbnail may stand on the slide.
    bool Selectable() const { return FVisible && FEnabled && !FSourceLost; }
    const TGPRectF& ItemRect() const { return FItemRect; }
    const TGPRectF& PlaceHolderRect() const { return FPlaceHolderRect; }
    const TGPRectF& ThumbRect() const { return FThumbRect; }
    const TGPRectF& ThumbItemRect() const { return FThumbItemRect; }

    // --- What the slide loader reads and writes.
    // Names the slide's current data: every change gives a new one, so a picture built from older
    // data is recognised and dropped.
    std::uint64_t LoadTag() const { return FLoadTag; }
    // The picture data as bytes (empty when the holder is empty).
    QByteArray HolderBytes() const;
    // Fills the holder with data the loader built, without counting as a change of the slide.
    void KeepHolderBytes(const QByteArray& bytes);
    // Both statuses back to waiting under a new tag, so that the slide is built anew.
    void ResetLoading();
    // The loader has taken the slide in hand; its old picture goes.
    void BeginBuild();
    // The loader stopped with the slide in hand: the slide waits to be built again.
    void CancelBuild();
    void PictureBuilt(QSize naturalSize, QImage picture);
    void ThumbnailBuilt(QImage thumbnail);
    // The decoded picture alone, decoded again or dropped (null); size, thumbnail and layout stay.
    void SetDecodedPicture(QImage picture);
    void MarkSourceLost();

    // --- What the layout writes: where the slide and its thumbnail stand in the control.
    void SetLayout(const TGPRectF& itemRect, const TGPRectF& placeHolderRect, const TGPRectF& thumbItemRect,
                   const TGPRectF& thumbRect);

    // A slide just made for a file takes the file's location and kind, and the path as the texts the
    // flags name, without announcing each as a change: its insertion was announced already.
    void TakeFile(const QString& path, TSlideShowItemKind kind, bool descriptionLocation,
                  bool captionLocation, bool locationThumbHint);

private:
    // Any change of the slide's data: both statuses back to waiting, re-layout, restart the loader.
    void Changed();
    template <typename T, typename V> void SetProperty(T& field, const V& value);

    TImageThreadStatus FThumbThreadStatus = stInitialized;
    TImageThreadStatus FThreadStatus = stInitialized;
    QImage FThumbnail;
    QImage FOriginalImage;
    QSize FPictureSize;
    TGPRectF FItemRect;
    TGPRectF FPlaceHolderRect;
    TGPRectF FThumbRect;
    TGPRectF FThumbItemRect;
    TSlideShowItemHolder* FCollection;
    std::unique_ptr<TGPPicture> FImage;
    QString FLocation;
    QPointer<QWidget> FControl;
    TSlideShowItemKind FKind = ikImage;
    bool FEnabled = true;
    bool FVisible = true;
    QString FText = QStringLiteral("Slide Show Item");
    QString FHint;
    int FCustomImageHeight = 100;
    int FCustomImageWidth = 100;
    TTextFont FTextFont;
    int FTextWidth = 100;
    int FTextHeight = 100;
    bool FTextAutoSize = true;
    bool FEllipsis = false;
    bool FWordWrap = false;
    TSlideShowTextLocation FTextLocation = tlBottom;
    TVerticalAlignment FTextVerticalAlignment = taVerticalCenter;
    TAlignment FTextHorizontalAlignment = taCenter;
    QString FURL;
    TDescriptionPosition FDescriptionPosition = dpBottomCenter;
    QString FDescription;
    TTextFont FDescriptionFont;
    std::uint64_t FLoadTag;
    bool FKeepingHolder = false;
    bool FSourceLost = false;
};

} // namespace lanterna
