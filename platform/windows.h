#pragma once
// Window placement helpers.

class QWidget;

namespace lanterna {

// Centres a top-level window on the screen it is on (or the primary one); a window manager may not.
void CenterOnScreen(QWidget* window);

} // namespace lanterna
