// Which slide the loader builds next, what it is handed, and how its results come back into the
// slides.
//
// Decoded pictures are kept only for the selected slide and the slides the rotation and the arrow
// keys go to next, within a memory budget; every other slide keeps its size, thumbnail and layout
// and is decoded again when its turn comes near.
#include "slideshow/internal/slide_loader.h"

#include "drawing/gp_picture.h"
#include "platform/error_display.h"
#include "slideshow/internal/image_loader_thread.h"
#include "slideshow/internal/picture_decoder.h"
#include "slideshow/internal/selection_step.h"
#include "slideshow/slide_show_items.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace lanterna {

namespace {

constexpr qint64 kDecodedPictureBudget = qint64(128) << 20;

qint64 BitmapBytes(QSize size) {
    return qint64(size.width()) * size.height() * 4;
}

// A picture is decoded at most at the size of the control or of the largest screen, whichever is larger.
QSize DecodeBound(QSize controlSize) {
    QSize bound = controlSize;
    for (const QScreen* screen : QGuiApplication::screens())
        bound = bound.expandedTo(screen->geometry().size() * screen->devicePixelRatio());
    return bound;
}

// Decoded pictures, their scaled copies and the decoder's own buffers are megabytes each, made and freed
// on several threads. The C library's allocator raises the size from which a block is mapped on its own to
// the largest block freed, so after the first picture they come from the threads' heaps, where freed
// pictures stay resident between the live ones. A fixed threshold keeps each of them a mapping of its own,
// handed back to the system when the picture goes.
void MapLargeBuffersOnTheirOwn() {
#ifdef __GLIBC__
    static const bool once = mallopt(M_MMAP_THRESHOLD, 256 * 1024) != 0;
    (void)once;
#endif
}

// The size the slide is drawn at; empty while its layout is not known.
QSize DrawnSizeOf(const TSlideShowItem* item) {
    return DrawnSize(item->ItemRect());
}

// A picture is decoded again when it is missing or the slide is drawn at another size than it was decoded
// at (the control was resized): it is then drawn without a scaled copy again. The size is the one the
// builder decodes at for the same slide and context.
bool NeedsRedecode(const TSlideShowItem* item, QSize decodeBound, const TPictureLayout& layout) {
    const QSize natural = item->PictureSize();
    if (item->ThreadStatus() != stLoaded || natural.isEmpty())
        return false;
    return item->OriginalImage().size() !=
           DecodeSize(natural, decodeBound, DrawnSizeFor(DrawnSizeOf(item), layout, natural));
}

// A slide built while the control showed no thumbnails gets its thumbnail once the control shows them.
bool WantsThumbnail(const TSlideShowItem* item, const TLoadContext& context) {
    return !context.ThumbBox.isEmpty() && item->ThreadStatus() == stLoaded &&
           item->ThumbThreadStatus() != stLoaded && !item->PictureSize().isEmpty();
}

} // namespace

TSlideLoader::TSlideLoader(TSlideShowItems& items, std::function<TLoadContext()> context)
    : FItems(items), FContext(std::move(context)) {}

TSlideLoader::~TSlideLoader() = default;

void TSlideLoader::Start() {
    if (FThread)
        return;
    MapLargeBuffersOnTheirOwn();
    FThread = std::make_unique<TImageLoaderThread>(this, "ResultsReady");
    Schedule();
}

void TSlideLoader::Stop() {
    if (!FThread)
        return;
    FThread.reset();
    // The slide the loader had in hand is taken again by the next loader.
    if (FInFlight.Kind == TJobKind::Build) {
        if (const int index = IndexOfLoadTag(FInFlight.Tag); index >= 0)
            FItems.Items(index)->CancelBuild();
    }
    FInFlight = {};
}

bool TSlideLoader::Loading() const {
    if (FInFlight.Tag != 0 || FScheduled)
        return true;
    const TLoadContext context = FContext();
    for (int i = 0; i < FItems.Count(); ++i) {
        if (FItems.Items(i)->ThreadStatus() == stInitialized || WantsThumbnail(FItems.Items(i), context))
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

std::vector<int> TSlideLoader::DecodeWindowIndices(const TLoadContext& context, QSize decodeBound) const {
    const int count = FItems.Count();
    const int selected = context.Selected;
    std::vector<int> window;
    qint64 bytes = 0;
    for (const int index : {selected, ResolveSelection(selected + 1, true, count, context.Selectable),
                            ResolveSelection(selected - 1, false, count, context.Selectable)}) {
        if (index < 0 || index >= count || std::find(window.begin(), window.end(), index) != window.end())
            continue;
        bytes += BitmapBytes(FitWithin(FItems.Items(index)->PictureSize(), decodeBound));
        if (!window.empty() && bytes > kDecodedPictureBudget)
            break;
        window.push_back(index);
    }
    return window;
}

void TSlideLoader::DropPicturesOutsideWindow(const std::vector<int>& window) {
    for (int i = 0; i < FItems.Count(); ++i) {
        if (std::find(window.begin(), window.end(), i) == window.end())
            FItems.Items(i)->SetDecodedPicture(QImage());
    }
}

void TSlideLoader::LoadNext() {
    FScheduled = false;
    if (!FThread || FInFlight.Tag != 0)
        return;
    const TLoadContext context = FContext();
    if (context.Updating || FItems.Count() == 0)
        return;
    const QSize bound = DecodeBound(context.ControlSize);
    // During a transition only the slide it goes to is loaded, so that a jump to a slide whose
    // picture is not decoded gets it as soon as the loader can make it.
    if (context.Animating) {
        if (const int selected = context.Selected; selected >= 0 && selected < FItems.Count()) {
            TSlideShowItem* item = FItems.Items(selected);
            if (item->ThreadStatus() == stInitialized)
                DispatchBuild(context, item, selected, bound);
            else if (NeedsRedecode(item, bound, context.PictureLayout))
                DispatchRedecode(context, item, selected, bound);
        }
        return;
    }
    if (FRestartLoop) {
        FRestartLoop = false;
        FCursor = 0;
    }
    const std::vector<int> window = DecodeWindowIndices(context, bound);
    DropPicturesOutsideWindow(window);
    for (const int index : window) {
        TSlideShowItem* item = FItems.Items(index);
        if (item->ThreadStatus() == stInitialized)
            return DispatchBuild(context, item, index, bound);
        if (NeedsRedecode(item, bound, context.PictureLayout))
            return DispatchRedecode(context, item, index, bound);
    }
    for (; FCursor < FItems.Count(); ++FCursor) {
        TSlideShowItem* item = FItems.Items(FCursor);
        if (item->ThreadStatus() == stInitialized)
            return DispatchBuild(context, item, FCursor, QSize());
        if (WantsThumbnail(item, context))
            return DispatchThumbnail(context, item, FCursor);
    }
}

TLoadJob TSlideLoader::MakeLoadJob(const TLoadContext& context, TSlideShowItem* item, int index,
                                   QSize decodeBound, bool redecode) const {
    TLoadJob job;
    job.Tag = item->LoadTag();
    job.ItemIndex = index;
    job.Kind = item->Kind();
    job.Location = item->Location();
    job.HolderFilled = !item->Image()->Empty();
    job.HolderBytes = item->HolderBytes();
    job.Redecode = redecode;
    if (!redecode && item->Kind() == ikControl && item->Control() && context.CaptureControl)
        job.ControlCapture = context.CaptureControl(item->Control(), index);
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
    if (!redecode)
        job.CustomDraw = context.CustomDraw;
    job.DecodeBound = decodeBound;
    job.DrawnSize = DrawnSizeOf(item);
    job.PictureLayout = context.PictureLayout;
    if (!redecode)
        job.ThumbBox = context.ThumbBox;
    job.ThumbRule = context.ThumbRule;
    return job;
}

void TSlideLoader::Dispatch(TJobKind kind, TLoadJob job) {
    FInFlight = {job.Tag, kind};
    FThread->Submit(std::move(job));
}

void TSlideLoader::DispatchBuild(const TLoadContext& context, TSlideShowItem* item, int index,
                                 QSize decodeBound) {
    item->BeginBuild();
    Dispatch(TJobKind::Build, MakeLoadJob(context, item, index, decodeBound, false));
}

void TSlideLoader::DispatchRedecode(const TLoadContext& context, TSlideShowItem* item, int index,
                                    QSize decodeBound) {
    Dispatch(TJobKind::Redecode, MakeLoadJob(context, item, index, decodeBound, true));
}

void TSlideLoader::DispatchThumbnail(const TLoadContext& context, TSlideShowItem* item, int index) {
    TLoadJob job = MakeLoadJob(context, item, index, QSize(), true);
    job.ThumbBox = context.ThumbBox;
    Dispatch(TJobKind::Thumbnail, std::move(job));
}

int TSlideLoader::IndexOfLoadTag(std::uint64_t tag) const {
    for (int i = 0; i < FItems.Count(); ++i) {
        if (FItems.Items(i)->LoadTag() == tag)
            return i;
    }
    return -1;
}

void TSlideLoader::ResultsReady() {
    if (!FThread)
        return;
    for (TLoadResult& result : FThread->TakeResults()) {
        const TJobKind kind = FInFlight.Kind;
        FInFlight = {};
        if (const int index = IndexOfLoadTag(result.Tag); index >= 0) {
            TSlideShowItem* item = FItems.Items(index);
            RunGuarded([&] { Apply(kind, item, index, result); });
        }
    }
    Schedule();
}

void TSlideLoader::Apply(TJobKind kind, TSlideShowItem* item, int index, TLoadResult& result) {
    switch (kind) {
    case TJobKind::Build:
        return ApplyBuild(item, index, result);
    case TJobKind::Redecode:
        return ApplyRedecode(item, index, result);
    case TJobKind::Thumbnail:
        return ApplyThumbnail(item, index, result);
    }
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
    FItems.Items(index)->ThumbnailBuilt(std::move(result.Thumbnail));
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

void TSlideLoader::ApplyThumbnail(TSlideShowItem* item, int index, TLoadResult& result) {
    if (result.NaturalSize != item->PictureSize()) {
        // The source has changed or gone since the slide was loaded: the slide is built anew.
        item->ResetLoading();
        Restart();
        return;
    }
    // A thumbnail that cannot be made is not asked for again.
    const bool made = !result.Thumbnail.isNull();
    item->ThumbnailBuilt(std::move(result.Thumbnail));
    if (made && OnThumbnailLoaded)
        OnThumbnailLoaded(index);
}

void TSlideLoader::SourceLost(TSlideShowItem* item, int index) {
    item->MarkSourceLost();
    if (OnSourceLost)
        OnSourceLost(index);
}

} // namespace lanterna
