// Which slide the loader builds next, what it is handed, and how its results come back into the
// slides.
//
// Decoded pictures are kept only for the selected slide and the slides the rotation and the arrow
// keys go to next, within a memory budget; every other slide keeps its size, thumbnail and layout
// and is decoded again when its turn comes near.
#include "slideshow/slide_loader.h"

#include "drawing/gp_picture.h"
#include "platform/error_display.h"
#include "slideshow/image_loader_thread.h"
#include "slideshow/picture_decoder.h"
#include "slideshow/selection_step.h"
#include "slideshow/slide_show.h"

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

TSlideLoader::TSlideLoader(TSlideShow& show) : FShow(show) {}

TSlideLoader::~TSlideLoader() = default;

void TSlideLoader::Start() {
    if (FThread)
        return;
    FThread = std::make_unique<TImageLoaderThread>(this, "ResultsReady");
    Schedule();
}

void TSlideLoader::Stop() {
    if (!FThread)
        return;
    FThread.reset();
    // The slide the loader had in hand is taken again by the next loader.
    if (FInFlight.Build) {
        if (const int index = IndexOfLoadTag(FInFlight.Tag); index >= 0)
            FShow.Items()->Items(index)->CancelBuild();
    }
    FInFlight = {};
}

bool TSlideLoader::Loading() const {
    if (FInFlight.Tag != 0 || FScheduled)
        return true;
    const TSlideShowItems* items = FShow.Items();
    for (int i = 0; i < items->Count(); ++i) {
        if (items->Items(i)->ThreadStatus() == stInitialized)
            return true;
    }
    return false;
}

void TSlideLoader::Schedule() {
    if (FScheduled)
        return;
    FScheduled = true;
    QMetaObject::invokeMethod(
        this, [this] { LoadNext(); }, Qt::QueuedConnection);
}

void TSlideLoader::Restart() {
    FRestartLoop = true;
    Schedule();
}

QSize TSlideLoader::DecodeBound() const {
    QSize bound = FShow.size();
    for (const QScreen* screen : QGuiApplication::screens())
        bound = bound.expandedTo(screen->geometry().size() * screen->devicePixelRatio());
    return bound;
}

std::vector<int> TSlideLoader::DecodeWindowIndices() const {
    const auto selectable = [this](int i) { return FShow.Selectable(i); };
    const TSlideShowItems* items = FShow.Items();
    const int count = items->Count();
    const int selected = FShow.ItemIndex();
    const QSize bound = DecodeBound();
    std::vector<int> window;
    qint64 bytes = 0;
    for (const int index : {selected, ResolveSelection(selected + 1, true, count, selectable),
                            ResolveSelection(selected - 1, false, count, selectable)}) {
        if (index < 0 || index >= count || std::find(window.begin(), window.end(), index) != window.end())
            continue;
        bytes += BitmapBytes(FitWithin(items->Items(index)->PictureSize(), bound));
        if (!window.empty() && bytes > kDecodedPictureBudget)
            break;
        window.push_back(index);
    }
    return window;
}

void TSlideLoader::DropPicturesOutsideWindow(const std::vector<int>& window) {
    const TSlideShowItems* items = FShow.Items();
    for (int i = 0; i < items->Count(); ++i) {
        if (std::find(window.begin(), window.end(), i) == window.end())
            items->Items(i)->SetDecodedPicture(QImage());
    }
}

bool TSlideLoader::NeedsRedecode(const TSlideShowItem* item) const {
    if (item->ThreadStatus() != stLoaded || item->PictureSize().isEmpty())
        return false;
    return item->OriginalImage().width() < FitWithin(item->PictureSize(), DecodeBound()).width();
}

void TSlideLoader::LoadNext() {
    FScheduled = false;
    if (!FThread || FInFlight.Tag != 0)
        return;
    const TSlideShowItems* items = FShow.Items();
    if (FShow.UpdateCount() > 0 || items->Count() == 0)
        return;
    // During a transition only the slide it goes to is loaded, so that a jump to a slide whose
    // picture is not decoded gets it as soon as the loader can make it.
    if (FShow.DoAnimation()) {
        if (const int selected = FShow.ItemIndex(); selected >= 0 && selected < items->Count()) {
            TSlideShowItem* item = items->Items(selected);
            if (item->ThreadStatus() == stInitialized)
                DispatchBuild(item, selected, true);
            else if (NeedsRedecode(item))
                DispatchRedecode(item, selected);
        }
        return;
    }
    if (FRestartLoop) {
        FRestartLoop = false;
        FCursor = 0;
    }
    const std::vector<int> window = DecodeWindowIndices();
    DropPicturesOutsideWindow(window);
    for (const int index : window) {
        TSlideShowItem* item = items->Items(index);
        if (item->ThreadStatus() == stInitialized)
            return DispatchBuild(item, index, true);
        if (NeedsRedecode(item))
            return DispatchRedecode(item, index);
    }
    for (; FCursor < items->Count(); ++FCursor) {
        if (TSlideShowItem* item = items->Items(FCursor); item->ThreadStatus() == stInitialized)
            return DispatchBuild(item, FCursor, false);
    }
}

TLoadJob TSlideLoader::MakeLoadJob(TSlideShowItem* item, int index, QSize decodeBound, bool redecode) const {
    TLoadJob job;
    job.Tag = item->LoadTag();
    job.ItemIndex = index;
    job.Kind = item->Kind();
    job.Location = item->Location();
    job.HolderFilled = !item->Image()->Empty();
    job.HolderBytes = item->HolderBytes();
    job.Redecode = redecode;
    if (!redecode && item->Kind() == ikControl && item->Control())
        DrawControlToBitmap(item, index, job.ControlCapture);
    job.TextStyle = {item->Text(),
                     QFont(),
                     item->TextFont()->Color,
                     item->TextWidth(),
                     item->TextHeight(),
                     item->TextAutoSize(),
                     item->Ellipsis(),
                     item->WordWrap(),
                     item->TextVerticalAlignment(),
                     item->TextHorizontalAlignment()};
    job.TextFontDescription = item->TextFont()->Font.toString();
    job.TextLocation = item->TextLocation();
    job.CustomSize = QSize(item->CustomImageWidth(), item->CustomImageHeight());
    if (FShow.OnCustomDraw && !redecode) {
        job.CustomDraw = [handler = FShow.OnCustomDraw, sender = &FShow](
                             int itemIndex, TGPGraphics& g, const TGPRectF& r, TSlideShowItemKind kind) {
            handler(sender, itemIndex, g, r, kind);
        };
    }
    job.DecodeBound = decodeBound;
    if (!redecode)
        job.ThumbBox = QSize(FShow.ThumbNailWidth(), FShow.ThumbNailHeight());
    job.ThumbRule = {FShow.AspectRatio(), FShow.ItemMode()};
    return job;
}

void TSlideLoader::DrawControlToBitmap(TSlideShowItem* item, int index, QImage& bitmap) const {
    QWidget* control = item->Control();
    bitmap = NewBitmap(control->size());
    if (bitmap.isNull())
        return;
    if (FShow.OnCustomDrawControl)
        FShow.OnCustomDrawControl(&FShow, control, index, bitmap);
    else
        control->render(&bitmap);
}

void TSlideLoader::DispatchBuild(TSlideShowItem* item, int index, bool keepPicture) {
    item->BeginBuild();
    TLoadJob job = MakeLoadJob(item, index, keepPicture ? DecodeBound() : QSize(), false);
    FInFlight = {job.Tag, true};
    FThread->Submit(std::move(job));
}

void TSlideLoader::DispatchRedecode(TSlideShowItem* item, int index) {
    TLoadJob job = MakeLoadJob(item, index, DecodeBound(), true);
    FInFlight = {job.Tag, false};
    FThread->Submit(std::move(job));
}

int TSlideLoader::IndexOfLoadTag(std::uint64_t tag) const {
    const TSlideShowItems* items = FShow.Items();
    for (int i = 0; i < items->Count(); ++i) {
        if (items->Items(i)->LoadTag() == tag)
            return i;
    }
    return -1;
}

void TSlideLoader::ResultsReady() {
    if (!FThread)
        return;
    for (TLoadResult& result : FThread->TakeResults()) {
        const bool build = FInFlight.Build;
        FInFlight = {};
        if (const int index = IndexOfLoadTag(result.Tag); index >= 0) {
            TSlideShowItem* item = FShow.Items()->Items(index);
            RunGuarded([&] { build ? ApplyBuild(item, index, result) : ApplyRedecode(item, index, result); });
        }
    }
    Schedule();
}

void TSlideLoader::ApplyBuild(TSlideShowItem* item, int index, TLoadResult& result) {
    // A slide whose data could not be had (a missing file) stays taken until its data changes; one
    // that had a picture before has lost its file.
    if (!result.Built) {
        if (!item->PictureSize().isEmpty())
            SourceLost(item, index);
        return;
    }
    if (!result.KeepBytes.isEmpty())
        item->KeepHolderBytes(result.KeepBytes);
    item->PictureBuilt(result.NaturalSize, std::move(result.Picture));
    if (OnPictureLoaded)
        OnPictureLoaded(index);
    // The handler may have changed the slides: the thumbnail belongs only to the same slide, unchanged.
    index = IndexOfLoadTag(result.Tag);
    if (index < 0 || result.Thumbnail.isNull())
        return;
    FShow.Items()->Items(index)->ThumbnailBuilt(std::move(result.Thumbnail));
    if (OnThumbnailLoaded)
        OnThumbnailLoaded(index);
}

void TSlideLoader::ApplyRedecode(TSlideShowItem* item, int index, TLoadResult& result) {
    if (result.Picture.isNull()) {
        SourceLost(item, index);
        return;
    }
    if (result.NaturalSize != item->PictureSize()) {
        // The source has changed or gone since the slide was loaded: the slide is built anew.
        item->ResetLoading();
        Restart();
        return;
    }
    item->SetDecodedPicture(std::move(result.Picture));
    if (OnPictureDecoded)
        OnPictureDecoded(index);
}

void TSlideLoader::SourceLost(TSlideShowItem* item, int index) {
    item->MarkSourceLost();
    if (OnSourceLost)
        OnSourceLost(index);
}

} // namespace lanterna
