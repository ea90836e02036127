#include "platform/dir_search.h"

#include <QFile>

#include <dirent.h>
#include <sys/stat.h>

namespace lanterna {

namespace {

bool Match(QStringView name, QStringView mask) {
    // Iterative wildcard match with one backtrack point for the last star.
    qsizetype n = 0, m = 0, starAt = -1, resumeAt = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == QLatin1Char('*')) {
            starAt = m++;
            resumeAt = n;
        } else if (m < mask.size() &&
                   (mask[m] == QLatin1Char('?') || mask[m].toCaseFolded() == name[n].toCaseFolded())) {
            ++m;
            ++n;
        } else if (starAt >= 0) {
            m = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == QLatin1Char('*'))
        ++m;
    return m == mask.size();
}

} // namespace

bool MatchesMask(const QString& name, const QString& mask) {
    // As on the original platform, a trailing ".*" also matches names without any dot.
    if (mask.endsWith(QStringLiteral(".*")) && Match(name, QStringView(mask).chopped(2)))
        return true;
    return Match(name, mask);
}

QString MaskFolder(const QString& mask) {
    const qsizetype slash = mask.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : mask.left(slash + 1);
}

std::vector<TSearchRec> FindFiles(const QString& mask) {
    std::vector<TSearchRec> found;
    const QString folder = MaskFolder(mask);
    const QString pattern = mask.mid(folder.size());
    const QByteArray path = QFile::encodeName(folder.isEmpty() ? QStringLiteral(".") : folder);
    DIR* dir = opendir(path.constData());
    if (!dir)
        return found;
    while (dirent* entry = readdir(dir)) {
        const QString name = QFile::decodeName(entry->d_name);
        if (!MatchesMask(name, pattern))
            continue;
        TSearchRec rec{name};
        struct stat info {};
        if (stat(QFile::encodeName(folder + name).constData(), &info) == 0) {
            rec.Directory = S_ISDIR(info.st_mode);
            rec.Size = info.st_size;
        }
        found.push_back(rec);
    }
    closedir(dir);
    return found;
}

} // namespace lanterna
