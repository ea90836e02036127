#pragma once
// Release versions as dotted whole numbers ("1.2", "1.10.3"), compared part by part.

#include <QString>

namespace lanterna {

// True when both are versions and `candidate` is the later one; a missing part counts as 0, so
// "1.2" and "1.2.0" are the same version. Anything that is no version is never newer nor older.
bool IsNewerVersion(const QString& candidate, const QString& installed);

// True for one to eight parts of at most nine digits each, separated by dots.
bool IsVersion(const QString& text);

} // namespace lanterna
