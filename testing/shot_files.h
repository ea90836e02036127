#pragma once
// What the window-shot tools share: the output folder of their command line, and the saving of
// each picture with a line that says where it went.

#include <QDir>
#include <QImage>
#include <QString>

#include <cstdio>

namespace lanterna::testing {

// The folder the first argument names, absolute (a tool may change its current directory) and made
// when missing; empty, with `usage` printed, without one.
inline QString OutputFolder(int argc, char** argv, const char* usage) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s\n", usage);
        return {};
    }
    const QString folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QDir().mkpath(folder);
    return folder;
}

inline bool SaveShot(const QImage& shot, const QString& path) {
    const bool saved = !shot.isNull() && shot.save(path);
    std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
    return saved;
}

} // namespace lanterna::testing
