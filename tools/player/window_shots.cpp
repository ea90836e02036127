// Renders the player's three windows into PNG files, the presentation in the middle of a
// transition: window_shots <output folder>.
#include "player/presentation_form.h"
#include "player/program.h"
#include "player/settings_form.h"
#include "player/start_form.h"
#include "slideshow/slide_show.h"
#include "testing/shot_files.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A picture with a gradient and its name, so that slides are told apart.
void MakePicture(const QString& path, QSize size, QColor from, QColor to) {
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient g(0, 0, size.width(), size.height());
    g.setColorAt(0, from);
    g.setColorAt(1, to);
    p.fillRect(image.rect(), g);
    p.setPen(Qt::white);
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), size.height() / 10));
    p.drawText(image.rect(), Qt::AlignCenter, QFileInfo(path).baseName());
    p.end();
    image.save(path);
}

bool Save(QWidget* window, const QString& path) {
    return lanterna::testing::SaveShot(window->grab().toImage(), path);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString folder = lanterna::testing::OutputFolder(argc, argv, "window_shots <output folder>");
    if (folder.isEmpty())
        return 2;
    const QDir out(folder);
    player::InitialiseApplication();

    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("Slides"));
    MakePicture(dir.filePath(QStringLiteral("Slides/first.png")), {1200, 800}, Qt::darkBlue, Qt::cyan);
    MakePicture(dir.filePath(QStringLiteral("Slides/second.png")), {600, 900}, Qt::darkRed, Qt::yellow);
    MakePicture(dir.filePath(QStringLiteral("LogoPRG.png")), {176, 180}, QColor(0x00, 0x40, 0x80),
                QColor(0x00, 0x80, 0xFF));
    QFile config(dir.filePath(QStringLiteral("SlideShow.cfg")));
    if (!config.open(QIODevice::WriteOnly))
        return 1;
    config.write("[Global]\nZjistitNovouVerziPriStartu=0\nClockVisible=1\nRotateInterval=1\n");
    config.close();

    player::Program program(dir.filePath(QStringLiteral("Lanterna")), {});
    program.Show();
    const player::Windows& w = program.Forms();
    w.Form1->Timer1Timer();
    bool ok = Save(w.Form1, out.filePath(QStringLiteral("start-window.png")));
    w.Form1->NastavitButClick();
    ok &= Save(w.Form3, out.filePath(QStringLiteral("settings-window.png")));
    w.Form3->close();

    w.Form1->PokracovatButClick();
    // Wait for the first picture, then for the next change to be half way through its fade.
    lanterna::TSlideShow& show = *w.Form2->SlideShow;
    ok &= QTest::qWaitFor(
        [&] {
            return show.ItemIndex() == 1 && show.Transition().Running() &&
                   show.Transition().NextOpacity() >= 128;
        },
        15000);
    ok &= Save(w.Form2, out.filePath(QStringLiteral("presentation-transition.png")));
    ok &= QTest::qWaitFor([&] { return !show.Transition().Running(); }, 5000);
    ok &= Save(w.Form2, out.filePath(QStringLiteral("presentation.png")));
    return ok ? 0 : 1;
}
