#pragma once
// The player's three windows as the program creates them. The start window drives the
// presentation, the settings window reads the start window and sets the presentation's logo; the
// others reach the settings only through events the program wires.

namespace player {

class TForm1;
class TForm2;
class TForm3;

struct Windows {
    TForm1* Form1 = nullptr; // start window, the main window
    TForm2* Form2 = nullptr; // presentation
    TForm3* Form3 = nullptr; // settings
};

} // namespace player
