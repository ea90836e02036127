// The slide show's side of background loading: which slide the loader builds next, what it is
// handed, and how its results come back into the slides. Everything here runs on the user-interface
// thread; the loader only ever sees the plain values of a job.
//
// Decoded pictures are kept only for the selected slide and the slides the rotation and the arrow
// keys go to next, within a memory budget; every other slide keeps its size, thumbnail and layout
// and is decoded again when its turn comes near.
#include "slideshow/slide_show.h"

#include "drawing/gp_picture.h"
#include "platform/error_display.h"
#include "slideshow/image_loader_thread.h"
#include "slideshow/picture_decoder.h"
#include "slideshow/selection_step.h"
#include "slideshow/slide_builder.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace lanterna {

namespace {

constexpr qint64 kDecodedPictureBudget = qint64(128) << 20;

qint64 BitmapBytes(QSize size) {
    return qint64(size.width()) * size.height() * 4;
}

} // namespace

void TSlideShow::StartThread() {
    if (FImageLoaderThread)
        return;
    FImageLoaderThread = std::make_unique<TImageLoaderThread>(this, "LoaderResultsReady");
    ScheduleLoad();
}

void TSlideShow::StopThread() {
    if (!FImageLoaderThread)
        return;
    FImageLoaderThread.reset();
    // The slide the loader had in hand is taken again by the next loader.
    for (int i = 0; i < FItems->Count(); ++i) {
        TSlideShowItem* item = FItems->Items(i);
        if (FLoadInFlight.Build && item->FLoadTag == FLoadInFlight.Tag && item->FThreadStatus == stLoading)
            item->FThreadStatus = stInitialized;
    }
    FLoadInFlight = {};
}

bool TSlideShow::Loading() const {
    if (FLoadInFlight.Tag != 0 || FLoadScheduled)
        return true;
    for (int i = 0; i < FItems->Count(); ++i) {
        if (FItems->Items(i)->FThreadStatus == stInitialized)
            return true;
    }
    return false;
}

void TSlideShow::ScheduleLoad() {
    if (FLoadScheduled)
        return;
    FLoadScheduled = true;
    QMetaObject::invokeMethod(
        this, [this] { LoadNext(); }, Qt::QueuedConnection);
}

QSize TSlideShow::DecodeBound() const {
    QSize bound = size();
    for (const QScreen* screen : QGuiApplication::screens())
        bound = bound.expandedTo(screen->geometry().size() * screen->devicePixelRatio());
    return bound;
}

std::vector<int> TSlideShow::DecodeWindowIndices() const {
    const auto selectable = [this](int i) { return Selectable(i); };
    const int count = FItems->Count();
    const QSize bound = DecodeBound();
    std::vector<int> window;
    qint64 bytes = 0;
    for (const int index : {FItemIndex, ResolveSelection(FItemIndex + 1, true, count, selectable),
                            ResolveSelection(FItemIndex - 1, false, count, selectable)}) {
        if (!ValidIndex(index) || std::find(window.begin(), window.end(), index) != window.end())
            continue;
        bytes += BitmapBytes(FitWithin(FItems->Items(index)->FPictureSize, bound));
        if (!window.empty() && bytes > kDecodedPictureBudget)
            break;
        window.push_back(index);
    }
    return window;
}

void TSlideShow::DropPicturesOutsideWindow(const std::vector<int>& window) {
    for (int i = 0; i < FItems->Count(); ++i) {
        if (std::find(window.begin(), window.end(), i) == window.end())
            FItems->Items(i)->FOriginalImage = QImage();
    }
}

bool TSlideShow::NeedsRedecode(const TSlideShowItem* item) const {
    if (item->FThreadStatus != stLoaded || item->FPictureSize.isEmpty())
        return false;
    return item->FOriginalImage.width() < FitWithin(item->FPictureSize, DecodeBound()).width();
}

void TSlideShow::LoadNext() {
    FLoadScheduled = false;
    if (!FImageLoaderThread || FLoadInFlight.Tag != 0)
        return;
    if (FUpdateCount > 0 || FItems->Count() == 0)
        return;
    // During a transition only the slide it goes to is loaded, so that a jump to a slide whose
    // picture is not decoded gets it as soon as the loader can make it.
    if (FDoAnimation) {
        if (ValidIndex(FItemIndex)) {
            TSlideShowItem* item = FItems->Items(FItemIndex);
            if (item->FThreadStatus == stInitialized)
                DispatchBuild(item, FItemIndex, true);
            else if (NeedsRedecode(item))
                DispatchRedecode(item, FItemIndex);
        }
        return;
    }
    if (RestartLoop) {
        RestartLoop = false;
        FLoadCursor = 0;
    }
    const std::vector<int> window = DecodeWindowIndices();
    DropPicturesOutsideWindow(window);
    for (const int index : window) {
        TSlideShowItem* item = FItems->Items(index);
        if (item->FThreadStatus == stInitialized)
            return DispatchBuild(item, index, true);
        if (NeedsRedecode(item))
            return DispatchRedecode(item, index);
    }
    for (; FLoadCursor < FItems->Count(); ++FLoadCursor) {
        if (TSlideShowItem* item = FItems->Items(FLoadCursor); item->FThreadStatus == stInitialized)
            return DispatchBuild(item, FLoadCursor, false);
    }
}

TLoadJob TSlideShow::MakeLoadJob(TSlideShowItem* item, int index, QSize decodeBound, bool redecode) {
    TLoadJob job;
    job.Tag = item->FLoadTag;
    job.ItemIndex = index;
    job.Kind = item->FKind;
    job.Location = item->FLocation;
    job.HolderFilled = !item->FImage->Empty();
    job.HolderBytes = item->HolderBytes();
    job.Redecode = redecode;
    if (!redecode && item->FKind == ikControl && item->FControl)
        DrawControlToBitmap(item, index, job.ControlCapture);
    job.TextStyle = {item->FText,
                     QFont(),
                     item->FTextFont.Color,
                     item->FTextWidth,
                     item->FTextHeight,
                     item->FTextAutoSize,
                     item->FEllipsis,
                     item->FWordWrap,
                     item->FTextVerticalAlignment,
                     item->FTextHorizontalAlignment};
    job.TextFontDescription = item->FTextFont.Font.toString();
    job.TextLocation = item->FTextLocation;
    job.CustomSize = QSize(item->FCustomImageWidth, item->FCustomImageHeight);
    if (OnCustomDraw && !redecode) {
        job.CustomDraw = [handler = OnCustomDraw, sender = this](int itemIndex, TGPGraphics& g,
                                                                 const TGPRectF& r, TSlideShowItemKind kind) {
            handler(sender, itemIndex, g, r, kind);
        };
    }
    job.DecodeBound = decodeBound;
    if (!redecode)
        job.ThumbBox = QSize(FThumbNailWidth, FThumbNailHeight);
    job.ThumbRule = {FAspectRatio, FItemMode};
    return job;
}

void TSlideShow::DrawControlToBitmap(TSlideShowItem* item, int index, QImage& bitmap) {
    QWidget* control = item->FControl;
    bitmap = NewBitmap(control->size());
    if (bitmap.isNull())
        return;
    if (OnCustomDrawControl)
        OnCustomDrawControl(this, control, index, bitmap);
    else
        control->render(&bitmap);
}

void TSlideShow::DispatchBuild(TSlideShowItem* item, int index, bool keepPicture) {
    item->FThreadStatus = stLoading;
    item->FOriginalImage = QImage();
    TLoadJob job = MakeLoadJob(item, index, keepPicture ? DecodeBound() : QSize(), false);
    FLoadInFlight = {job.Tag, true};
    FImageLoaderThread->Submit(std::move(job));
}

void TSlideShow::DispatchRedecode(TSlideShowItem* item, int index) {
    TLoadJob job = MakeLoadJob(item, index, DecodeBound(), true);
    FLoadInFlight = {job.Tag, false};
    FImageLoaderThread->Submit(std::move(job));
}

int TSlideShow::IndexOfLoadTag(std::uint64_t tag) const {
    for (int i = 0; i < FItems->Count(); ++i) {
        if (FItems->Items(i)->FLoadTag == tag)
            return i;
    }
    return -1;
}

void TSlideShow::LoaderResultsReady() {
    if (!FImageLoaderThread)
        return;
    for (TLoadResult& result : FImageLoaderThread->TakeResults()) {
        const bool build = FLoadInFlight.Build;
        FLoadInFlight = {};
        if (const int index = IndexOfLoadTag(result.Tag); index >= 0) {
            TSlideShowItem* item = FItems->Items(index);
            RunGuarded([&] { build ? ApplyBuild(item, index, result) : ApplyRedecode(item, index, result); });
        }
    }
    ScheduleLoad();
}

void TSlideShow::ApplyBuild(TSlideShowItem* item, int index, TLoadResult& result) {
    // A slide whose data could not be had (a missing file) stays taken until its data changes; one
    // that had a picture before has lost its file.
    if (!result.Built) {
        if (!item->FPictureSize.isEmpty())
            SourceLost(item, index);
        return;
    }
    if (!result.KeepBytes.isEmpty())
        item->KeepHolderBytes(result.KeepBytes);
    item->FPictureSize = result.NaturalSize;
    item->FOriginalImage = std::move(result.Picture);
    item->FThreadStatus = stLoaded;
    Changed();
    if (OnImageLoaded)
        OnImageLoaded(this, index);
    // The handler may have changed the slides: the thumbnail belongs only to the same slide, unchanged.
    index = IndexOfLoadTag(result.Tag);
    if (index < 0 || result.Thumbnail.isNull())
        return;
    item = FItems->Items(index);
    item->FThumbnail = std::move(result.Thumbnail);
    item->FThumbThreadStatus = stLoaded;
    Changed();
    if (OnThumbLoaded)
        OnThumbLoaded(this, index);
}

void TSlideShow::ApplyRedecode(TSlideShowItem* item, int index, TLoadResult& result) {
    if (result.Picture.isNull()) {
        SourceLost(item, index);
        return;
    }
    if (result.NaturalSize != item->FPictureSize) {
        // The source has changed or gone since the slide was loaded: the slide is built anew.
        item->ResetLoading();
        SetRestartLoop();
        return;
    }
    item->FOriginalImage = std::move(result.Picture);
    update();
}

void TSlideShow::SourceLost(TSlideShowItem* item, int index) {
    item->FSourceLost = true;
    item->FOriginalImage = QImage();
    update();
    // The show does not stand on a slide it cannot show: it moves on to the next one it can.
    if (index == FItemIndex && FRotation)
        RotateTimerEvent();
}

} // namespace lanterna
