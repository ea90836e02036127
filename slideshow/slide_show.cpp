#include "slideshow/slide_show.h"

#include "drawing/fill.h"
#include "platform/store_changed.h"
#include "platform/timer.h"
#include "slideshow/full_screen_form.h"
#include "slideshow/slide_loader.h"

#include <algorithm>

namespace lanterna {

namespace {

std::unique_ptr<TFill> NewFill(TColor color, TColor colorTo, TGradientType type) {
    auto fill = std::make_unique<TFill>();
    fill->SetColor(color);
    fill->SetColorTo(colorTo);
    fill->SetGradientType(type);
    fill->SetBorderColor(clSilver);
    return fill;
}

} // namespace

TSlideShow::TSlideShow(QWidget* parent) : QWidget(parent), FStepClock(TTimer::kMinimumPeriod) {
    resize(kDefaultWidth, kDefaultHeight);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);

    FItems = std::make_unique<TSlideShowItems>();
    // Slides added or removed move the others: the loader looks at the list from its start again.
    FItems->OnChange = [this] {
        SetRestartLoop();
        Changed();
    };
    FItems->OnItemChange = [this] { Changed(); };
    FItems->OnItemReload = [this] { SetRestartLoop(); };
    // A slide's control is a child of the show, visible while its slide is the current one.
    FItems->OnItemControl = [this](const TSlideShowItem& item, QWidget* control) {
        control->setParent(this);
        control->setVisible(item.Index() == ItemIndex());
    };
    ConnectLoader();
    FMargin.SetBounds(10, 10, 10, 10);
    FMargin.OnChange = [this] { Changed(); };
    FThumbNailHolderMargin.OnChange = [this] { Changed(); };
    FThumbNailHandles.OnChange = [this] { Changed(); };

    FFill = NewFill(clWhite, clNone, gtSolid);
    FPlaceHolderFill = NewFill(clWhite, clNone, gtSolid);
    FDescriptionFill = NewFill(clWhite, clNone, gtSolid);
    FThumbNailHolderFill = NewFill(RGBColor(0xF0, 0xF0, 0xF0), clNone, gtSolid);
    FThumbNailHolderFill->SetGlow(gmGradient);
    FThumbNailSelectedFill = NewFill(RGBColor(0xFF, 0xD9, 0xAA), RGBColor(0xFF, 0xBB, 0x6E), gtVertical);
    FThumbNailSelectedFill->SetColorMirror(RGBColor(0xFE, 0xAE, 0x42));
    FThumbNailSelectedFill->SetColorMirrorTo(RGBColor(0xFE, 0xE1, 0x7A));
    FThumbNailSelectedFill->SetGradientMirrorType(gtVertical);
    FThumbNailSelectedFill->SetBorderColor(RGBColor(0xFE, 0xAE, 0x42));
    for (TFill* fill : {FPlaceHolderFill.get(), FThumbNailHolderFill.get(), FThumbNailSelectedFill.get()})
        fill->OnChange = [this](TPersistent*) { Changed(); };
    for (TFill* fill : {FFill.get(), FDescriptionFill.get()})
        fill->OnChange = [this](TPersistent*) { FillChanged(); };

    // The animation timer runs only while a transition does; the handle timer only while a scroll
    // handle of the thumbnail band is held.
    FAnimateTimer = new TTimer(this, 1, false);
    FAnimateTimer->OnTimer = [this](TTimer*) { AnimateTimerEvent(); };
    FRotateTimer = new TTimer(this, FRotationInterval, FRotation);
    FRotateTimer->OnTimer = [this](TTimer*) { RotateTimerEvent(); };
    FHandleTimer = new TTimer(this, 10, false);
    FHandleTimer->OnTimer = [this](TTimer*) { HandleTimerEvent(); };

    // A widget has its window from the start, so the loader runs from the start.
    StartThread();
}

TSlideShow::~TSlideShow() {
    StopThread();
    FFullScreen.reset();
    // The controls shown as slides belong to the program, not to the slide show.
    for (int i = 0; i < FItems->Count(); ++i) {
        if (QWidget* control = FItems->Items(i)->Control(); control && control->parentWidget() == this)
            control->setParent(nullptr);
    }
}

template <typename T, typename V> void TSlideShow::SetProperty(T& field, const V& value) {
    if (StoreChanged(field, value))
        Changed();
}

void TSlideShow::Changed() {
    if (FUpdateCount == 0)
        CalculateRects();
    update();
}

void TSlideShow::BeginUpdate() {
    ++FUpdateCount;
}

void TSlideShow::EndUpdate() {
    if (FUpdateCount > 0 && --FUpdateCount == 0)
        Changed();
    StartThread();
    ScheduleLoad();
}

void TSlideShow::UpdateImages() {
    for (int i = 0; i < FItems->Count(); ++i)
        FItems->Items(i)->Update();
    SetRestartLoop();
}

void TSlideShow::UpdateControlImage(QWidget* control) {
    for (int i = 0; i < FItems->Count(); ++i) {
        if (TSlideShowItem* item = FItems->Items(i); item->Control() == control) {
            item->Update();
            return;
        }
    }
}

void TSlideShow::SetColorTones(const TColorTones& tones) {
    for (TFill* fill : {FFill.get(), FThumbNailHolderFill.get(), FPlaceHolderFill.get()}) {
        fill->SetColor(tones.Background.BrushColor);
        fill->SetColorTo(tones.Background.BrushColor);
        fill->SetBorderColor(tones.Background.BorderColor);
    }
    FThumbNailSelectedFill->SetColor(tones.Selected.BrushColor);
    FThumbNailSelectedFill->SetColorTo(tones.Selected.BrushColor);
    FThumbNailSelectedFill->SetColorMirror(tones.Selected.BrushColor);
    FThumbNailSelectedFill->SetColorMirrorTo(tones.Selected.BrushColor);
    FThumbNailSelectedFill->SetBorderColor(tones.Selected.BorderColor);
}

void TSlideShow::SetItems(const TSlideShowItems& value) {
    FItems->Assign(value);
}
void TSlideShow::SetFill(const TFill& value) {
    FFill->Assign(&value);
}
void TSlideShow::SetPlaceHolderFill(const TFill& value) {
    FPlaceHolderFill->Assign(&value);
}
void TSlideShow::SetDescriptionFill(const TFill& value) {
    FDescriptionFill->Assign(&value);
}
void TSlideShow::SetThumbNailHolderFill(const TFill& value) {
    FThumbNailHolderFill->Assign(&value);
}
void TSlideShow::SetThumbNailSelectedFill(const TFill& value) {
    FThumbNailSelectedFill->Assign(&value);
}
void TSlideShow::SetMargin(const TMargins& value) {
    FMargin.Assign(value);
}
void TSlideShow::SetThumbNailHolderMargin(const TMargins& value) {
    FThumbNailHolderMargin.Assign(value);
}

void TSlideShow::SetThumbNailHandles(const THandleAppearance& value) {
    FThumbNailHandles.Assign(value);
    Changed();
}

void TSlideShow::SetPlaceHolder(bool value) {
    SetProperty(FPlaceHolderVisible, value);
}
void TSlideShow::SetPlaceHolderSpacing(int value) {
    SetProperty(FPlaceHolderSpacing, value);
}
void TSlideShow::SetItemMode(TSlideShowItemMode value) {
    SetProperty(FItemMode, value);
}
void TSlideShow::SetAspectRatio(bool value) {
    SetProperty(FAspectRatio, value);
}
void TSlideShow::SetStretchPercentage(int value) {
    SetProperty(FStretchPercentage, std::clamp(value, 50, 100));
}
void TSlideShow::SetTransitions(TSlideShowTransitions value) {
    SetProperty(FTransitions, value);
}
void TSlideShow::SetAnimations(TSlideShowAnimations value) {
    SetProperty(FAnimations, value);
}
void TSlideShow::SetFadeAnimationFactor(int value) {
    SetProperty(FFadeAnimationFactor, value);
}
void TSlideShow::SetHolderAnimationFactor(int value) {
    SetProperty(FHolderAnimationFactor, value);
}
void TSlideShow::SetLoadEffect(bool value) {
    SetProperty(FLoadEffect, value);
}
void TSlideShow::SetShowDescription(bool value) {
    SetProperty(FShowDescription, value);
}
void TSlideShow::SetThumbNailsFloating(bool value) {
    SetProperty(FThumbNailsFloating, value);
}
void TSlideShow::SetThumbNailPosition(TThumbNailPosition value) {
    SetProperty(FThumbnailPosition, value);
}
void TSlideShow::SetThumbNailWidth(int value) {
    SetProperty(FThumbNailWidth, value);
}
void TSlideShow::SetThumbNailHeight(int value) {
    SetProperty(FThumbNailHeight, value);
}
void TSlideShow::SetThumbNailSpacing(int value) {
    SetProperty(FThumbNailSpacing, value);
}

void TSlideShow::SetRotation(bool value) {
    if (!StoreChanged(FRotation, value))
        return;
    FRotateTimer->SetEnabled(value);
    Changed();
}

void TSlideShow::SetRotationInterval(int value) {
    if (!StoreChanged(FRotationInterval, value))
        return;
    FRotateTimer->SetInterval(value);
    Changed();
}

void TSlideShow::SetAnimation(bool value) {
    if (!StoreChanged(FAnimation, value))
        return;
    // Without animation nothing would end a running transition: the selected slide stands at once.
    if (!FAnimation && FDoAnimation)
        FinishTransition();
    UpdateAnimateTimer();
}

void TSlideShow::SetThumbNails(bool value) {
    if (!StoreChanged(FThumbNails, value))
        return;
    SetRestartLoop();
    Changed();
}

void TSlideShow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FBackground.Invalidate();
    Changed();
    ScheduleLoad();
}

void TSlideShow::FullScreen() {
    if (FFullScreen)
        return;
    FFullScreen = std::make_unique<TFullScreenForm>(this);
    FFullScreen->OnEscape = [this] { Normal(); };
    FFullScreen->OnClose = [this] { FullScreenClose(); };
    FFullScreen->showFullScreen();
    Changed();
}

void TSlideShow::Normal() {
    if (FFullScreen)
        FFullScreen->close();
}

void TSlideShow::FullScreenClose() {
    if (!FFullScreen)
        return;
    FFullScreen->RestoreControl();
    // Closing runs inside the form's own handler, so it is freed once that has returned.
    FFullScreen.release()->deleteLater();
    Changed();
}

} // namespace lanterna
