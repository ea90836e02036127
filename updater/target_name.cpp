#include "updater/target_name.h"

#include "release/release_files.h"
#include "transfer/url_functions.h"

#include <QUrl>

namespace updater {

namespace {

bool IsPlainName(const QString& name) {
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) && !name.contains(QChar(0));
}

} // namespace

bool IsSafeTargetName(const QString& url) {
    const QString name = lanterna::LastSegment(url);
    return IsPlainName(name) && IsPlainName(QUrl::fromPercentEncoding(name.toUtf8()));
}

bool IsSignOwnTarget(const QString& url) {
    const QString name = lanterna::LastSegment(url);
    return lanterna::IsSignOwnFile(name) || lanterna::IsSignOwnFile(QUrl::fromPercentEncoding(name.toUtf8()));
}

} // namespace updater
