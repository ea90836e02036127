#include "slideshow/slide_show_item.h"

#include "drawing/gp_picture.h"
#include "platform/store_changed.h"

#include <QBuffer>
#include <QScopedValueRollback>

namespace lanterna {

namespace {

// Load tags only grow, so a tag names one state of one slide for the life of the program.
std::uint64_t NewLoadTag() {
    static std::uint64_t last = 0;
    return ++last;
}

void Raise(const std::function<void()>& event) {
    if (event)
        event();
}

} // namespace

TSlideShowItem::TSlideShowItem(TSlideShowItemHolder* collection)
    : FCollection(collection), FImage(std::make_unique<TGPPicture>()), FLoadTag(NewLoadTag()) {
    FImage->OnChange = [this](TPersistent*) {
        if (!FKeepingHolder)
            Changed();
    };
    if (FCollection)
        Raise(FCollection->OnItemChange);
}

TSlideShowItem::~TSlideShowItem() = default;

int TSlideShowItem::Index() const {
    return FCollection ? FCollection->IndexOf(this) : -1;
}

void TSlideShowItem::ResetLoading() {
    FThumbThreadStatus = stInitialized;
    FThreadStatus = stInitialized;
    FSourceLost = false;
    FLoadTag = NewLoadTag();
}

void TSlideShowItem::Update() {
    ResetLoading();
    if (FCollection)
        Raise(FCollection->OnItemReload);
}

void TSlideShowItem::Changed() {
    ResetLoading();
    if (FCollection) {
        Raise(FCollection->OnItemChange);
        Raise(FCollection->OnItemReload);
    }
}

template <typename T, typename V> void TSlideShowItem::SetProperty(T& field, const V& value) {
    if (StoreChanged(field, value))
        Changed();
}

void TSlideShowItem::Assign(const TSlideShowItem& source) {
    if (&source == this)
        return;
    FImage->Assign(source.FImage.get());
    SetLocation(source.FLocation);
    SetControl(source.FControl);
    SetKind(source.FKind);
    SetEnabled(source.FEnabled);
    SetVisible(source.FVisible);
    SetText(source.FText);
    SetHint(source.FHint);
    SetCustomImageWidth(source.FCustomImageWidth);
    SetCustomImageHeight(source.FCustomImageHeight);
    SetTextFont(&source.FTextFont);
    SetTextWidth(source.FTextWidth);
    SetTextHeight(source.FTextHeight);
    SetTextAutoSize(source.FTextAutoSize);
    SetEllipsis(source.FEllipsis);
    SetWordWrap(source.FWordWrap);
    SetTextLocation(source.FTextLocation);
    SetTextVerticalAlignment(source.FTextVerticalAlignment);
    SetTextHorizontalAlignment(source.FTextHorizontalAlignment);
    SetURL(source.FURL);
    SetDescriptionPosition(source.FDescriptionPosition);
    SetDescription(source.FDescription);
    SetDescriptionFont(&source.FDescriptionFont);
    ItemObject = source.ItemObject;
    Tag = source.Tag;
}

void TSlideShowItem::SetImage(const TGPPicture* value) {
    if (value == FImage.get())
        return;
    FImage->Assign(value);
    Changed();
}

void TSlideShowItem::SetKind(TSlideShowItemKind value) {
    if (value == FKind)
        return;
    FKind = value;
    FImage->Assign(nullptr);
    Changed();
}

void TSlideShowItem::SetControl(QWidget* value) {
    if (value == FControl)
        return;
    FControl = value;
    if (value && FCollection && FCollection->OnItemControl)
        FCollection->OnItemControl(*this, value);
    Changed();
}

void TSlideShowItem::SetTextFont(const TTextFont* value) {
    if (value == &FTextFont)
        return;
    FTextFont = *value;
    Changed();
}

void TSlideShowItem::SetDescriptionFont(const TTextFont* value) {
    if (value == &FDescriptionFont)
        return;
    FDescriptionFont = *value;
    Changed();
}

void TSlideShowItem::SetLocation(const QString& value) {
    SetProperty(FLocation, value);
}
void TSlideShowItem::SetEnabled(bool value) {
    SetProperty(FEnabled, value);
}
void TSlideShowItem::SetVisible(bool value) {
    SetProperty(FVisible, value);
}
void TSlideShowItem::SetText(const QString& value) {
    SetProperty(FText, value);
}
void TSlideShowItem::SetHint(const QString& value) {
    SetProperty(FHint, value);
}
void TSlideShowItem::SetCustomImageWidth(int value) {
    SetProperty(FCustomImageWidth, value);
}
void TSlideShowItem::SetCustomImageHeight(int value) {
    SetProperty(FCustomImageHeight, value);
}
void TSlideShowItem::SetTextWidth(int value) {
    SetProperty(FTextWidth, value);
}
void TSlideShowItem::SetTextHeight(int value) {
    SetProperty(FTextHeight, value);
}
void TSlideShowItem::SetTextAutoSize(bool value) {
    SetProperty(FTextAutoSize, value);
}
void TSlideShowItem::SetEllipsis(bool value) {
    SetProperty(FEllipsis, value);
}
void TSlideShowItem::SetWordWrap(bool value) {
    SetProperty(FWordWrap, value);
}
void TSlideShowItem::SetTextLocation(TSlideShowTextLocation value) {
    SetProperty(FTextLocation, value);
}
void TSlideShowItem::SetTextVerticalAlignment(TVerticalAlignment value) {
    SetProperty(FTextVerticalAlignment, value);
}
void TSlideShowItem::SetTextHorizontalAlignment(TAlignment value) {
    SetProperty(FTextHorizontalAlignment, value);
}
void TSlideShowItem::SetURL(const QString& value) {
    SetProperty(FURL, value);
}
void TSlideShowItem::SetDescriptionPosition(TDescriptionPosition value) {
    SetProperty(FDescriptionPosition, value);
}
void TSlideShowItem::SetDescription(const QString& value) {
    SetProperty(FDescription, value);
}

QByteArray TSlideShowItem::HolderBytes() const {
    return FImage->Data();
}

void TSlideShowItem::KeepHolderBytes(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    const QScopedValueRollback keeping(FKeepingHolder, true);
    FImage->LoadFromStream(&buffer);
}

void TSlideShowItem::BeginBuild() {
    FThreadStatus = stLoading;
    FOriginalImage = QImage();
}

void TSlideShowItem::CancelBuild() {
    if (FThreadStatus == stLoading)
        FThreadStatus = stInitialized;
}

void TSlideShowItem::PictureBuilt(QSize naturalSize, QImage picture) {
    FPictureSize = naturalSize;
    FOriginalImage = std::move(picture);
    FThreadStatus = stLoaded;
}

void TSlideShowItem::ThumbnailBuilt(QImage thumbnail) {
    FThumbnail = std::move(thumbnail);
    FThumbThreadStatus = stLoaded;
}

void TSlideShowItem::SetDecodedPicture(QImage picture) {
    FOriginalImage = std::move(picture);
}

void TSlideShowItem::MarkSourceLost() {
    FSourceLost = true;
    FOriginalImage = QImage();
}

void TSlideShowItem::SetLayout(const TGPRectF& itemRect, const TGPRectF& placeHolderRect,
                               const TGPRectF& thumbItemRect, const TGPRectF& thumbRect) {
    FItemRect = itemRect;
    FPlaceHolderRect = placeHolderRect;
    FThumbItemRect = thumbItemRect;
    FThumbRect = thumbRect;
}

void TSlideShowItem::TakeFile(const QString& path, TSlideShowItemKind kind, bool descriptionLocation,
                              bool captionLocation, bool locationThumbHint) {
    FLocation = path;
    FKind = kind;
    if (captionLocation)
        FText = path;
    if (locationThumbHint)
        FHint = path;
    if (descriptionLocation)
        FDescription = path;
}

} // namespace lanterna
