#pragma once
// What several benchmarks need: folders of generated photos and the process's memory and processor
// figures.

#include <QString>
#include <QtGlobal>

namespace lanterna::bench {

// A folder of `count` JPEG photos of 4000 x 3000 named IMG_0000.jpg on; six distinct pictures,
// repeated under other names (hard links where the file system allows). Made once per process.
QString PhotoFolder(int count);

// The resident memory of this process (or of the process `pid`) now, and its peak since the last
// ResetPeakResident, in MB; 0 for a process that is gone.
double ResidentMb(qint64 pid = 0);
double PeakResidentMb(qint64 pid = 0);
void ResetPeakResident();

// Processor time (user and system) of this process, all its threads included, of the calling thread
// alone, and of the process's ended child processes, in seconds.
double ProcessCpuSeconds();
double ThreadCpuSeconds();
double ChildrenCpuSeconds();

} // namespace lanterna::bench
