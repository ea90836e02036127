#include "testing/minisign_tool.h"

#include "testing/test_files.h"

#include <QProcess>

namespace lanterna::testing {

namespace {

bool RunMinisign(const QStringList& arguments) {
    QProcess minisign;
    minisign.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    minisign.setStandardOutputFile(QProcess::nullDevice());
    minisign.start(QStringLiteral("minisign"), arguments);
    minisign.closeWriteChannel();
    if (!minisign.waitForFinished(30000)) {
        minisign.kill();
        minisign.waitForFinished(5000);
        return false;
    }
    return minisign.exitStatus() == QProcess::NormalExit && minisign.exitCode() == 0;
}

} // namespace

MinisignKeyPair::MinisignKeyPair() {
    FReady =
        FFolder.isValid() && RunMinisign({QStringLiteral("-G"), QStringLiteral("-W"), QStringLiteral("-p"),
                                          FFolder.filePath(QStringLiteral("key.pub")), QStringLiteral("-s"),
                                          FFolder.filePath(QStringLiteral("key.sec"))});
}

QByteArray MinisignKeyPair::PublicKey() const {
    return ReadFileBytes(FFolder.filePath(QStringLiteral("key.pub")));
}

bool MinisignKeyPair::Sign(const QString& file, bool legacy, const QString& trustedComment) const {
    QStringList arguments = {QStringLiteral("-S"),
                             QStringLiteral("-s"),
                             FFolder.filePath(QStringLiteral("key.sec")),
                             QStringLiteral("-m"),
                             file,
                             QStringLiteral("-t"),
                             trustedComment};
    if (legacy)
        arguments << QStringLiteral("-l");
    return RunMinisign(arguments);
}

} // namespace lanterna::testing
