#include "bench/bench_support.h"

#include "testing/pictures.h"

#include <QFile>
#include <QTemporaryDir>

#include <map>
#include <memory>
#include <sys/resource.h>

#include <unistd.h>

namespace lanterna::bench {

namespace {

constexpr int kPhotoWidth = 4000;
constexpr int kPhotoHeight = 3000;
constexpr int kVariants = 6;

// A field of the status of the process `pid` (0: this one) in MB; 0 when the process is gone.
double StatusFieldMb(const QByteArray& field, qint64 pid) {
    QFile status(pid == 0 ? QStringLiteral("/proc/self/status") : QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(field.size()).trimmed().split(' ').first().toDouble() / 1024;
    }
    return 0;
}

double CpuSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

} // namespace

QString PhotoFolder(int count) {
    static std::map<int, std::unique_ptr<QTemporaryDir>> folders;
    static std::unique_ptr<QTemporaryDir> originals;
    if (!originals) {
        originals = std::make_unique<QTemporaryDir>();
        for (int v = 0; v < kVariants; ++v)
            testing::PhotoLike(kPhotoWidth, kPhotoHeight, v)
                .save(originals->filePath(QStringLiteral("photo%1.jpg").arg(v)), "JPG", 90);
    }
    auto& folder = folders[count];
    if (!folder) {
        folder = std::make_unique<QTemporaryDir>();
        for (int i = 0; i < count; ++i) {
            const QByteArray source =
                QFile::encodeName(originals->filePath(QStringLiteral("photo%1.jpg").arg(i % kVariants)));
            const QByteArray target = QFile::encodeName(
                folder->filePath(QStringLiteral("IMG_%1.jpg").arg(i, 4, 10, QLatin1Char('0'))));
            if (::link(source.constData(), target.constData()) != 0)
                QFile::copy(QFile::decodeName(source), QFile::decodeName(target));
        }
    }
    return folder->path();
}

double ResidentMb(qint64 pid) {
    return StatusFieldMb("VmRSS:", pid);
}

double PeakResidentMb(qint64 pid) {
    return StatusFieldMb("VmHWM:", pid);
}

void ResetPeakResident() {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

double ProcessCpuSeconds() {
    return CpuSeconds(RUSAGE_SELF);
}

double ThreadCpuSeconds() {
    return CpuSeconds(RUSAGE_THREAD);
}

double ChildrenCpuSeconds() {
    return CpuSeconds(RUSAGE_CHILDREN);
}

} // namespace lanterna::bench
