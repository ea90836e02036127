// Renders the updater's windows into PNG files: the main window before "Start", the main window
// during a real download from a local server, and the list window with its loaded list:
// updater_window_shots <output folder>.
#include "platform/dialogs.h"
#include "testing/shot_files.h"
#include "testing/test_server.h"
#include "updater/list_form.h"
#include "updater/main_form.h"
#include "updater/program.h"
#include "widgets/circular_progress.h"
#include "widgets/glass_button.h"
#include "widgets/level_progress_bar.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>

using lanterna::testing::SaveShot;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString folder =
        lanterna::testing::OutputFolder(argc, argv, "updater_window_shots <output folder>");
    if (folder.isEmpty())
        return 2;
    const QDir out(folder);
    updater::InitialiseApplication();
    // The box at the end of the run is answered without being shown.
    lanterna::SetDialogs(std::make_unique<lanterna::ScriptedDialogs>());

    lanterna::testing::TestServer server;
    if (!server.Started()) {
        std::fprintf(stderr, "the local HTTP server did not start\n");
        return 1;
    }
    // Two files that come at once, then a third of which the server sends 65 % and holds back the
    // rest, so that the bars stand still while the ring turns.
    QTemporaryDir dir;
    QFile description(dir.filePath(QStringLiteral("UpDate.dat")));
    if (!description.open(QIODevice::WriteOnly))
        return 1;
    description.write("[UPDATE]\nVer=1.3\nProductName=Lanterna 1.3\nFiles=3\nFile1=" +
                      server.Url(QStringLiteral("/data/400000/Lanterna")).toUtf8() +
                      "\nFile2=" + server.Url(QStringLiteral("/data/150000/UpDate")).toUtf8() + "\nFile3=" +
                      server.Url(QStringLiteral("/stall/3000000/1955000/LogoPRG.png")).toUtf8() + "\n");
    description.close();
    QDir::setCurrent(dir.path());

    updater::Program program({});
    program.Show();
    updater::TForm1& form = *program.Forms().Form1;
    updater::TForm2& list = *program.Forms().Form2;
    bool ok = QTest::qWaitFor([&] { return form.Stav() == QStringLiteral("RUN"); }, 20000);
    ok &= SaveShot(form.grab().toImage(), out.filePath(QStringLiteral("updater-start.png")));
    list.show();
    ok &= SaveShot(list.grab().toImage(), out.filePath(QStringLiteral("updater-list.png")));
    list.hide();

    // The run pumps the windows' events from inside itself: a timer that fires there takes the
    // picture once the third file stands at 65 % and the ring has moved on, then cancels.
    QImage download;
    int head = -1;
    QTimer probe;
    probe.setInterval(20);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (form.Totalek->Position() < 2 || form.Souborek->Position() < 195)
            return;
        if (head < 0) {
            head = form.CircularProgress1->Head();
        } else if ((form.CircularProgress1->Head() - head + 12) % 12 >= 5) {
            download = form.grab().toImage();
            probe.stop();
            form.StopBut->click();
        }
    });
    probe.start();
    form.StartBut->click();
    ok &= QTest::qWaitFor([&] { return form.Stav() == QStringLiteral("KONEC"); }, 60000);
    ok &= SaveShot(download, out.filePath(QStringLiteral("updater-download.png")));
    return ok ? 0 : 1;
}
