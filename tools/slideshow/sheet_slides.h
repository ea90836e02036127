#pragma once
// What the contact sheets share: labelled test pictures and slide shows loaded from them.

#include <QColor>
#include <QImage>
#include <QStringList>

namespace lanterna {

class TSlideShow;

// A picture whose orientation shows at a glance: four shades of `tint` in quadrants and `label` in
// large white letters across them.
QImage Picture(int w, int h, QColor tint, const QString& label);

// Adds one slide per file in one update and waits until the loader has made every picture and
// thumbnail; False when it did not finish in time.
bool LoadSlides(TSlideShow& show, const QStringList& files);

// Waits, at most five minutes (a busy machine decodes large pictures slowly), until the loader has nothing
// left to do (after a selection it decodes the pictures around the selected slide); False when it did not
// finish in time.
bool Settle(const TSlideShow& show);

} // namespace lanterna
