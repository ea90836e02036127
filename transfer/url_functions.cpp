#include "transfer/url_functions.h"

#include <QRegularExpression>

#include <cctype>

namespace lanterna {

namespace {

// Drops everything up to and including the first occurrence of `marker`, if there is one.
QString AfterFirst(const QString& text, const QString& marker) {
    const qsizetype at = text.indexOf(marker);
    return at < 0 ? text : text.mid(at + marker.size());
}

} // namespace

QString LastSegment(const QString& url) {
    QString name = url.mid(url.lastIndexOf(u'/') + 1);
    return name.mid(name.lastIndexOf(u'\\') + 1);
}

QString ProxyRewrite(const QString& url, const QString& proxyUser, const QString& proxyPassword) {
    if (!url.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) || proxyUser.isEmpty() ||
        proxyPassword.isEmpty())
        return url;
    return QStringLiteral("http://") + proxyUser + u':' + proxyPassword + u'@' + url.mid(7);
}

QString ServerOf(const QString& url) {
    QString rest = AfterFirst(url, QStringLiteral("://"));
    const qsizetype slash = rest.indexOf(u'/');
    const qsizetype at = rest.indexOf(u'@');
    if (slash >= 0 && at >= 0 && at < slash)
        rest = rest.mid(at + 1);
    const qsizetype cut = rest.indexOf(u'/');
    return cut < 0 ? rest : rest.left(cut);
}

QString ObjectPath(const QString& url) {
    const QString rest = AfterFirst(AfterFirst(url, QStringLiteral("://")), QStringLiteral("@"));
    const qsizetype slash = rest.indexOf(u'/');
    return slash < 0 ? QString() : rest.mid(slash);
}

QString LoginHost(const QString& url) {
    const QString rest = AfterFirst(url, QStringLiteral("://"));
    qsizetype cut = rest.size();
    for (QChar separator : {u'/', u'\\'}) {
        const qsizetype at = rest.indexOf(separator);
        if (at >= 0 && at < cut)
            cut = at;
    }
    return rest.left(cut);
}

QString TargetPath(const QString& folder, const QString& name) {
    if (folder.isEmpty())
        return name;
    if (folder.endsWith(u'/') || folder.endsWith(u'\\'))
        return folder + name;
    return folder + u'/' + name;
}

QString UniqueName(const QString& path, const std::function<bool(const QString&)>& exists) {
    // The extension starts at the last dot of the file name, not of a folder.
    const qsizetype nameStart = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\')) + 1;
    qsizetype dot = path.lastIndexOf(u'.');
    if (dot < nameStart)
        dot = path.size();
    const QString stem = path.left(dot);
    const QString extension = path.mid(dot);
    for (int n = 1;; ++n) {
        const QString candidate = stem + u'(' + QString::number(n) + u')' + extension;
        if (!exists(candidate))
            return candidate;
    }
}

QByteArray RequestUrl(const QString& url) {
    const QByteArray bytes = url.toUtf8();
    const auto hexDigit = [&](qsizetype i) { return i < bytes.size() && std::isxdigit(uchar(bytes[i])); };
    QByteArray request;
    request.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const uchar c = uchar(bytes[i]);
        const bool allowed = c > ' ' && c < 0x7F && !QByteArrayView("<>\"\\^`{|}").contains(char(c)) &&
                             (c != '%' || (hexDigit(i + 1) && hexDigit(i + 2)));
        if (allowed)
            request += char(c);
        else
            request += '%' + QByteArray::number(c, 16).toUpper().rightJustified(2, '0');
    }
    return request;
}

QString MaskCredentials(const QString& text) {
    static const QRegularExpression userInformation(
        QStringLiteral("([A-Za-z][A-Za-z0-9+.-]*://)[^/?#@\\s]+@"));
    return QString(text).replace(userInformation, QStringLiteral("\\1***@"));
}

} // namespace lanterna
