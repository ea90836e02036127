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
    for (QProcess* process : {&FWindowManager, &FServer}) {
        if (process->state() == QProcess::NotRunning)
            continue;
        process->terminate();
        if (!process->waitForFinished(5000))
            process->kill();
        process->waitForFinished(5000);
    }
}

bool VirtualDisplay::StartWindowManager(const QString& program) {
    FWindowManager.setProcessEnvironment(Environment());
    FWindowManager.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    FWindowManager.setStandardOutputFile(QProcess::nullDevice());
    FWindowManager.start(program, {});
    // A manager announces itself on the root window once it manages the display.
    return FWindowManager.waitForStarted(5000) &&
           QTest::qWaitFor(
               [&] {
                   return Query(QStringLiteral("xprop"),
                                {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")})
                       .contains("window id");
               },
               20000);
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

QRect VirtualDisplay::Frame(const QString& window) const {
    static const QRegularExpression place(
        QStringLiteral("Position: (-?\\d+),(-?\\d+).*Geometry: (\\d+)x(\\d+)"),
        QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch client = place.match(
        QString::fromLatin1(Query(QStringLiteral("xdotool"), {QStringLiteral("getwindowgeometry"), window})));
    if (!client.hasMatch())
        return {};
    // Left, right, top and bottom, when the manager has set them.
    static const QRegularExpression extents(QStringLiteral("= (\\d+), (\\d+), (\\d+), (\\d+)"));
    const QRegularExpressionMatch frame = extents.match(QString::fromLatin1(Query(
        QStringLiteral("xprop"), {QStringLiteral("-id"), window, QStringLiteral("_NET_FRAME_EXTENTS")})));
    const auto number = [](const QRegularExpressionMatch& match, int n) { return match.captured(n).toInt(); };
    const QRect inside(number(client, 1), number(client, 2), number(client, 3), number(client, 4));
    if (!frame.hasMatch())
        return inside;
    return inside.adjusted(-number(frame, 1), -number(frame, 3), number(frame, 2), number(frame, 4));
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
