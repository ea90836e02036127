#pragma once
// Window placement and input helpers.

class QMouseEvent;
class QWidget;

namespace lanterna {

// Centres a top-level window on the screen it is on (or the primary one); a window manager may not.
void CenterOnScreen(QWidget* window);

// A release of the left button over the widget: what a click on a windowless control is.
bool IsClick(const QWidget& widget, const QMouseEvent& release);

} // namespace lanterna
