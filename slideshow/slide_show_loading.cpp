// The control's side of background loading: the loader (TSlideLoader) is told the control's state
// when it chooses a job, and its word on a slide becomes a new layout, a repaint or the control's
// events.
#include "slideshow/slide_show.h"

#include "slideshow/internal/picture_decoder.h"
#include "slideshow/internal/slide_loader.h"

namespace lanterna {

void TSlideShow::ConnectLoader() {
    FLoader = std::make_unique<TSlideLoader>(*FItems, [this] { return LoadContext(); });
    FLoader->OnPictureLoaded = [this](int index) {
        PrepareFollowingPicture();
        Changed();
        if (OnImageLoaded)
            OnImageLoaded(this, index);
    };
    FLoader->OnThumbnailLoaded = [this](int index) {
        Changed();
        if (OnThumbLoaded)
            OnThumbLoaded(this, index);
    };
    FLoader->OnPictureDecoded = [this](int index) {
        // A slide is decoded again when it is selected, often just as its transition starts.
        if (index == FItemIndex)
            PrepareTransitionPictures();
        else
            PrepareFollowingPicture();
        update();
    };
    FLoader->OnSourceLost = [this](int index) { SourceLost(index); };
}

TLoadContext TSlideShow::LoadContext() {
    TLoadContext context;
    context.Selected = FItemIndex;
    context.Updating = FUpdateCount > 0;
    context.Animating = FTransition.Running();
    context.ControlSize = size();
    context.Selectable = [this](int index) { return Selectable(index); };
    context.ThumbBox = FBand.Visible() ? QSize(FBand.Width(), FBand.Height()) : QSize();
    context.PictureLayout = PictureLayout(ContentRect());
    context.ThumbRule = context.PictureLayout.Rule;
    if (OnCustomDraw) {
        context.CustomDraw = [handler = OnCustomDraw, sender = this](
                                 int itemIndex, TGPGraphics& g, const TGPRectF& r, TSlideShowItemKind kind) {
            handler(sender, itemIndex, g, r, kind);
        };
    }
    context.CaptureControl = [this](QWidget* control, int index) { return CaptureControl(control, index); };
    return context;
}

QImage TSlideShow::CaptureControl(QWidget* control, int index) {
    QImage bitmap = NewBitmap(control->size());
    if (bitmap.isNull())
        return bitmap;
    if (OnCustomDrawControl)
        OnCustomDrawControl(this, control, index, bitmap);
    else
        control->render(&bitmap);
    return bitmap;
}

void TSlideShow::SourceLost(int index) {
    update();
    // The show does not stand on a slide it cannot show: it moves on to the next one it can.
    if (index == FItemIndex && FRotation)
        RotateTimerEvent();
}

void TSlideShow::StartThread() {
    FLoader->Start();
}

void TSlideShow::StopThread() {
    FLoader->Stop();
}

bool TSlideShow::Loading() const {
    return FLoader->Loading();
}

void TSlideShow::ScheduleLoad() {
    FLoader->Schedule();
}

void TSlideShow::SetRestartLoop() {
    FLoader->Restart();
}

} // namespace lanterna
