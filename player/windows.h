#pragma once
// The player's three windows know each other, as the program's windows did through their globals.

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
