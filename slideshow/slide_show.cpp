#include "slideshow/slide_show.h"

#include "drawing/fill.h"
#include "platform/store_changed.h"
#include "platform/timer.h"
#include "slideshow/internal/full_screen_form.h"
#include "slideshow/internal/new_fill.h"
#include "slideshow/internal/scaled_pictures.h"
#include "slideshow/internal/slide_loader.h"

#include <algorithm>

namespace lanterna {

TSlideShow::TSlideShow(QWidget* parent)
    : QWidget(parent), FTransition(TTimer::kMinimumPeriod),
      FScaledPictures(std::make_unique<TScaledPictures>()) {
    resize(kDefaultWidth, kDefaultHeight);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);

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
    FBand.OnChange = [this] { Changed(); };
    FBand.OnScroll = [this] { CalculateRects(); };

    FFill = NewFill(clWhite, clNone, gtSolid);
    FPlaceHolderFill = NewFill(clWhite, clNone, gtSolid);
    FDescriptionFill = NewFill(clWhite, clNone, gtSolid);
    FPlaceHolderFill->OnChange = [this](TPersistent*) { Changed(); };
    for (TFill* fill : {FFill.get(), FDescriptionFill.get()})
        fill->OnChange = [this](TPersistent*) { FillChanged(); };

    // The animation timer runs only while a transition does.
    FAnimateTimer = new TTimer(this, 1, false);
    FAnimateTimer->OnTimer = [this](TTimer*) { AnimateTimerEvent(); };
    FRotateTimer = new TTimer(this, FRotationInterval, FRotation);
    FRotateTimer->OnTimer = [this](TTimer*) { RotateTimerEvent(); };

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
    for (TFill* fill : {FFill.get(), FBand.HolderFill(), FPlaceHolderFill.get()}) {
        fill->SetColor(tones.Background.BrushColor);
        fill->SetColorTo(tones.Background.BrushColor);
        fill->SetBorderColor(tones.Background.BorderColor);
    }
    TFill* selected = FBand.SelectedFill();
    selected->SetColor(tones.Selected.BrushColor);
    selected->SetColorTo(tones.Selected.BrushColor);
    selected->SetColorMirror(tones.Selected.BrushColor);
    selected->SetColorMirrorTo(tones.Selected.BrushColor);
    selected->SetBorderColor(tones.Selected.BorderColor);
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
    FBand.HolderFill()->Assign(&value);
}
void TSlideShow::SetThumbNailSelectedFill(const TFill& value) {
    FBand.SelectedFill()->Assign(&value);
}
void TSlideShow::SetMargin(const TMargins& value) {
    FMargin.Assign(value);
}
void TSlideShow::SetThumbNailHolderMargin(const TMargins& value) {
    FBand.HolderMargin()->Assign(value);
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
    if (!FAnimation && FTransition.Running())
        FinishTransition();
    UpdateAnimateTimer();
}

void TSlideShow::SetThumbNails(bool value) {
    // The loader makes thumbnails only while the band shows.
    if (FBand.SetVisible(value))
        SetRestartLoop();
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
