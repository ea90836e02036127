#pragma once
// The updater's main window: the product being updated, "Start" and "Zrušit", the busy ring and
// the two progress bars, and the timer whose first tick reads UpDate.dat and starts the work.

#include "platform/timer.h"
#include "updater/run_progress.h"

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

class TForm1 final : public QWidget, public TRunProgress {
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
    // The program's state: START, STARTING, RUN, UPDATING, KONEC. Only this window changes it.
    const QString& Stav() const { return FStav; }

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

    // The run of the download list shows here.
    QString Folder() const override { return Adresar; }
    bool Unattended() const override { return FArguments.value(0) == QStringLiteral("AUTO"); }
    bool BeginRun() override;
    void ShowFileCount(int count) override;
    void ShowFilesDone(int done) override;
    void ShowFileProgress(int position, int max) override;
    void ShowFileLine(const QString& line) override;
    void ShowCaption(const QString& caption) override;
    void ShowStopped() override;
    void RunEnded() override;
    void CloseProgram() override;

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

    QString FStav;
    QStringList FArguments;
    TOuterSize* FOuterSize;
};

} // namespace updater
