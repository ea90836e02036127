#pragma once
// The updater's two windows know each other, as the program's windows did through their globals.

namespace updater {

class TForm1;
class TForm2;

struct Windows {
    TForm1* Form1 = nullptr; // main window
    TForm2* Form2 = nullptr; // download list
};

} // namespace updater
