#pragma once
// Test helpers: a record of every event a run fires, in order, and a way to run to the end.

#include "transfer/file_transfer.h"

#include <QStringList>

namespace lanterna::testing {

// Hooks every event of `transfer` and writes one line per event: "FileStart 0",
// "Progress 1 4096 10000", "Error 404", "ErrorInfo 404 Returned http error code 404", ...
class EventRecorder {
public:
    explicit EventRecorder(TFileTransfer& transfer);

    QStringList Events;
    // Only the lines that start with `kind` + " ".
    QStringList Only(const QString& kind) const;
    bool Done() const { return Events.contains(QStringLiteral("CopyDone")); }
};

// Starts a run and waits for its OnCopyDone; false when it does not come within `seconds`.
bool RunToEnd(TFileTransfer& transfer, EventRecorder& recorder, int seconds = 30);

} // namespace lanterna::testing
