#pragma once
// Shared helpers of the slide-show tests: generated pictures in a temporary folder, and waiting for
// the loader to settle.

#include "platform/timer.h"
#include "slideshow/slide_show.h"
#include "testing/application.h"
#include "testing/pictures.h"
#include "testing/test_files.h"

#include <QColor>
#include <QImage>
#include <QString>
#include <QTemporaryDir>
#include <QTest>

namespace lanterna::testing {

// Writes a picture of one colour; the format follows the file name's extension.
inline void WritePicture(const QString& path, int width, int height, QColor color = Qt::red) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    image.save(path);
}

// Waits until the loader has nothing left to do for the control (the bound is only for a loader
// that never settles; on a busy machine loading may take long).
inline bool WaitLoaded(const TSlideShow& show, int timeoutMs = 60000) {
    return WaitFor([&] { return !show.Loading(); }, timeoutMs);
}

// Runs the animation timer until the running transition has ended.
inline void EndTransition(TSlideShow& show) {
    for (int i = 0; i < 1000 && show.Transition().Running(); ++i)
        show.AnimateTimerEvent();
}

// A slide show that does not rotate by itself, so that tests decide every selection.
struct TStillShow {
    TStillShow() { Show.SetRotation(false); }
    TSlideShow Show;
};

} // namespace lanterna::testing
