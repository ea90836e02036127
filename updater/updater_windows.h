#pragma once
// The updater's two windows as the program creates them. The list window runs the download and
// shows it on the main window through the main window's TRunProgress; the main window reaches the
// list only through events the program wires.

namespace updater {

class TForm1;
class TForm2;

struct Windows {
    TForm1* Form1 = nullptr; // main window
    TForm2* Form2 = nullptr; // download list
};

} // namespace updater
