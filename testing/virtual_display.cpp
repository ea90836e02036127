#include "testing/virtual_display.h"

#include <QRegularExpression>
#include <QTest>

namespace lanterna::testing {

VirtualDisplay::VirtualDisplay() {
    // No reset when a client leaves, so that a short-lived query tool cannot make the server
    // start over under the programs.
    FServer.setProcessChannelMode(QProcess::SeparateChannels);
    FServer.start(QStringLiteral("Xvfb"),
                  {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                   QStringLiteral("0"), QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
                   QStringLiteral("tcp"), QStringLiteral("-noreset")});
    if (FServer.waitForStarted(5000) &&
        QTest::qWaitFor([&] { return FServer.canReadLine() || FServer.state() != QProcess::Running; }, 20000))
        FName = QLatin1Char(':') + QString::fromLatin1(FServer.readLine().trimmed());
}

VirtualDisplay::~VirtualDisplay() {
    FServer.terminate();
    if (!FServer.waitForFinished(5000))
        FServer.kill();
    FServer.waitForFinished(5000);
}

QProcessEnvironment VirtualDisplay::Environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), FName);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    return env;
}

QStringList VirtualDisplay::Windows(const QString& titlePattern) const {
    return QString::fromLatin1(
               Query(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                                 QStringLiteral("--name"), titlePattern}))
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

bool VirtualDisplay::Shows(const QString& title) const {
    return !Windows(QLatin1Char('^') + QRegularExpression::escape(title) + QLatin1Char('$')).isEmpty();
}

QString VirtualDisplay::Title(const QString& window) const {
    return QString::fromUtf8(Query(QStringLiteral("xdotool"), {QStringLiteral("getwindowname"), window}))
        .trimmed();
}

bool VirtualDisplay::Click(const QString& window, QPoint at) const {
    int code = -1;
    Query(QStringLiteral("xdotool"),
          {QStringLiteral("mousemove"), QStringLiteral("--sync"), QStringLiteral("--window"), window,
           QString::number(at.x()), QString::number(at.y()), QStringLiteral("click"), QStringLiteral("1")},
          &code);
    return code == 0;
}

QImage VirtualDisplay::Screen() const {
    return QImage::fromData(
        Query(QStringLiteral("import"),
              {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("png:-")}),
        "PNG");
}

QByteArray VirtualDisplay::Query(const QString& program, const QStringList& arguments, int* exitCode) const {
    QProcess tool;
    tool.setProcessEnvironment(Environment());
    tool.start(program, arguments);
    if (!tool.waitForFinished(20000)) {
        tool.kill();
        tool.waitForFinished(5000);
        return {};
    }
    if (exitCode)
        *exitCode = tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
    return tool.readAllStandardOutput();
}

} // namespace lanterna::testing
