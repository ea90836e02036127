#pragma once
// The updater's main window: the product being updated, "Start" and "Zrušit", the busy ring and
// the two progress bars, and the timer whose first tick reads UpDate.dat and starts the work.

#include "platform/timer.h"
#include <QStringList>
#include <QWidget>

#include <functional>

class QLabel;

namespace lanterna {
class TCircularProgress;
class TGlassButton;
class TLevelProgressBar;
class TReflectionImage;
class TReflectionLabel;
} // namespace lanterna

namespace updater {

class TDirectories;
class TLayeredForm;
class TOuterSize;
class TWebLauncher;

class TForm1 final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm1)

public:
    static constexpr int kClientWidth = 429;
    // The outer heights: at start, which hides the progress strip, and while downloading.
    static constexpr int kStartHeight = 200;
    static constexpr int kDownloadHeight = 250;
    static constexpr const char* kHelpPage =
        "https://help.kelvra.example/index.php?action=artikel&cat=1&id=13&artlang=cs&dir=";

    // `arguments` is the command line without the program.
    explicit TForm1(QStringList arguments);

    QString Adresar;
    QString Stav;

    lanterna::TReflectionImage* ReflectionImage1;
    lanterna::TReflectionLabel* ReflectionLabel1;
    lanterna::TReflectionLabel* ProductName;
    lanterna::TCircularProgress* CircularProgress1;
    lanterna::TGlassButton* StartBut;
    lanterna::TGlassButton* StopBut;
    lanterna::TLevelProgressBar* Souborek;
    lanterna::TLevelProgressBar* Totalek;
    QLabel* soubor;
    lanterna::TTimer* Timer1;
    TLayeredForm* LayeredForm1;
    TDirectories* Dir1;
    TWebLauncher* WebLauncher1;

    // Started with "AUTO": no one may be there to answer a box.
    bool Unattended() const { return FArguments.value(0) == QStringLiteral("AUTO"); }

    void FormCreate();
    void Timer1Timer();
    void StartButClick();
    void StopButClick();
    void FormClick();
    void ReflectionLabel1Click();

    // The download list's part, wired by the program: reading UpDate.dat into the list, starting
    // and cancelling the run, showing the list window.
    std::function<void()> OnLoadList;
    std::function<void()> OnStartDownload;
    std::function<void()> OnCancelDownload;
    std::function<void()> OnShowList;

    // The window's height including its frame, kept when the window manager frames it.
    void SetOuterHeight(int height);
    int OuterHeight() const;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void ReadDescription();
    // A description that may not be used: the reason goes into the caption and an error box, and
    // the program ends without fetching anything.
    void RefuseDescription(const QString& reason);
    void ShowList();

    QStringList FArguments;
    TOuterSize* FOuterSize;
};

} // namespace updater
