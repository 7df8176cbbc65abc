#pragma once

// What the benchmarks measure the same way: CPU, memory, percentiles.

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QtGlobal>

#include <sys/resource.h>

#include <algorithm>
#include <ctime>
#include <vector>

namespace bench {

// User and system CPU of the whole process so far.
inline double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The calling thread's own CPU time: on a shared machine the wall clock also
// counts the time other processes held the cores.
inline double threadCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

// A KiB field of /proc/self/status ("VmRSS:", "VmHWM:"); -1 when unreadable.
inline long statusKiB(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

inline double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(p * (v.size() - 1) + 0.5))];
}

} // namespace bench
