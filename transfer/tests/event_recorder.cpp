#include "event_recorder.h"

#include <QTest>

namespace lanterna::testing {

EventRecorder::EventRecorder(TFileTransfer& transfer) {
    auto add = [this](const QString& line) { Events << line; };
    transfer.OnBeforeDialogShow = [add](TFileTransfer*, QWidget*) {
        add(QStringLiteral("BeforeDialogShow"));
    };
    transfer.OnFileStart = [add](TFileTransfer*, int idx) { add(QStringLiteral("FileStart %1").arg(idx)); };
    transfer.OnCopyProgress = [add](TFileTransfer*, int fileidx, std::uint32_t size, std::uint32_t total) {
        add(QStringLiteral("Progress %1 %2 %3").arg(fileidx).arg(size).arg(total));
    };
    transfer.OnFileDone = [add](TFileTransfer*, int idx) { add(QStringLiteral("FileDone %1").arg(idx)); };
    transfer.OnCopyDone = [add](TFileTransfer*) { add(QStringLiteral("CopyDone")); };
    transfer.OnCopyCancel = [add](TFileTransfer*) { add(QStringLiteral("CopyCancel")); };
    transfer.OnError = [add](TFileTransfer*, int code) { add(QStringLiteral("Error %1").arg(code)); };
    transfer.OnErrorInfo = [add](TFileTransfer*, int code, const QString& info) {
        add(QStringLiteral("ErrorInfo %1 %2").arg(code).arg(info));
    };
    transfer.OnURLNotFound = [add](TFileTransfer*, const QString& url) {
        add(QStringLiteral("URLNotFound ") + url);
    };
    transfer.OnConnectError = [add](TFileTransfer*) { add(QStringLiteral("ConnectError")); };
    transfer.OnMultiFTPFileDone = [add](TFileTransfer*, const QString& name) {
        add(QStringLiteral("MultiFTPFileDone ") + name);
    };
    transfer.OnRemovedFile = [add](TFileTransfer*, int idx) {
        add(QStringLiteral("RemovedFile %1").arg(idx));
    };
    transfer.OnRemovedFileFailed = [add](TFileTransfer*, int idx) {
        add(QStringLiteral("RemovedFileFailed %1").arg(idx));
    };
    transfer.OnCopyOverWrite = [add](TFileTransfer*, const QString& target, bool&) {
        add(QStringLiteral("CopyOverWrite ") + target);
    };
    transfer.OnNoNewFileFound = [add](TFileTransfer*, const QString& target, double curdate, double newdate) {
        add(QStringLiteral("NoNewFileFound %1 %2 %3")
                .arg(target)
                .arg(curdate, 0, 'f', 6)
                .arg(newdate, 0, 'f', 6));
    };
}

QStringList EventRecorder::Only(const QString& kind) const {
    QStringList lines;
    for (const QString& line : Events)
        if (line.startsWith(kind + u' ') || line == kind)
            lines << line;
    return lines;
}

bool RunToEnd(TFileTransfer& transfer, EventRecorder& recorder, int seconds) {
    if (!transfer.StartCopy())
        return false;
    return QTest::qWaitFor([&] { return recorder.Done(); }, seconds * 1000);
}

} // namespace lanterna::testing
