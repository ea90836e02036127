#pragma once
// Directory search by a file mask: the platform's own (unsorted) directory order, "." and ".."
// included, `*` and `?` matched without regard to letter case.

#include <QString>

#include <vector>

namespace lanterna {

struct TSearchRec {
    QString Name; // file name without the folder
    bool Directory = false;
    qint64 Size = 0;
};

// True when the file name matches the mask. "*.*" matches every name, also one without a dot.
bool MatchesMask(const QString& name, const QString& mask);

// The folder part of a mask ("/a/b/*.jpg" -> "/a/b/"), with its trailing separator, or "" for none.
QString MaskFolder(const QString& mask);

// Every entry of the mask's folder whose name matches the mask's last part. A missing or unreadable
// folder gives no entries.
std::vector<TSearchRec> FindFiles(const QString& mask);

} // namespace lanterna
