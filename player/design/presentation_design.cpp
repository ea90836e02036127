#include "player/design/presentation_design.h"

#include "drawing/fill.h"
#include "slideshow/slide_show.h"

namespace player {

using namespace lanterna;

void PresentationBackground(TFill& fill) {
    fill.BeginUpdate();
    fill.SetGradientType(gtRadial);
    fill.SetColor(clBlack);
    fill.SetColorTo(RGBColor(0x00, 0x40, 0x80));
    fill.SetBorderColor(clBlack);
    fill.SetGlow(gmRadial);
    fill.SetGlowGradientColor(RGBColor(0x00, 0x80, 0xFF));
    fill.SetGlowRadialColor(RGBColor(0x00, 0x80, 0xFF));
    fill.EndUpdate();
}

void DesignSlideShow(TSlideShow& show) {
    PresentationBackground(*show.Fill());
    for (TFill* frame : {show.PlaceHolderFill(), show.DescriptionFill()}) {
        frame->BeginUpdate();
        frame->SetGradientType(gtSolid);
        frame->SetColor(clWhite);
        frame->SetColorTo(clWhite);
        frame->SetBorderColor(clSilver);
        frame->SetGlow(gmNone);
        frame->SetShadowOffset(0);
        frame->SetRounding(0);
        frame->EndUpdate();
    }
    show.Margin()->SetBounds(10, 10, 10, 10);
    show.SetShowDescription(false);
    show.SetThumbNails(false);
}

} // namespace player
