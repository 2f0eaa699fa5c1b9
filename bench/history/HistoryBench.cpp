// Start-up, visit and shutdown costs of a long history: 100,000 pages over 200 days.
#include "app/TextFile.h"
#include "organiser/HistoryFilter.h"
#include "organiser/HistoryStore.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTreeView>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <malloc.h>
#include <vector>

namespace {

const QLocale BenchLocale(QLocale::English, QLocale::UnitedStates);
const QDate FirstDay(2024, 1, 1);

QString page(int day, int n)
{
    return QStringLiteral("Page %1 of day %2 - https://www.example.com/section/article-%1.html - "
                          "%3 10:40:57 AM")
        .arg(n)
        .arg(day)
        .arg(FirstDay.addDays(day).toString(QStringLiteral("M/d/yy")));
}

QStringList historyLines(int days, int perDay)
{
    QStringList lines;
    for (int day = 0; day < days; ++day) {
        lines << QStringLiteral("## ") + FirstDay.addDays(day).toString(QStringLiteral("M/d/yy"));
        for (int n = 0; n < perDay; ++n)
            lines << page(day, n);
    }
    return lines;
}

// The heap this process has in use: what the loaded tree keeps, whatever memory the
// allocator had already taken from the system before.
double heapInUseMiB()
{
    return double(mallinfo2().uordblks) / (1 << 20);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Wall time and this thread's processor time: on a busy machine the second shows what the
// work itself costs, the first what a user would wait.
class Stopwatch
{
public:
    Stopwatch()
    {
        wall_.start();
        cpuStart_ = cpuNow();
    }
    double wallMs() const { return wall_.nsecsElapsed() / 1e6; }
    double cpuMs() const { return (cpuNow() - cpuStart_) / 1e6; }

private:
    static qint64 cpuNow()
    {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
    }
    QElapsedTimer wall_;
    qint64 cpuStart_ = 0;
};

struct Figures
{
    std::vector<double> wall;
    std::vector<double> cpu;
    void add(const Stopwatch &watch)
    {
        wall.push_back(watch.wallMs());
        cpu.push_back(watch.cpuMs());
    }
};

// The first run is the one a start-up pays: a fresh heap, nothing cached.
void report(const char *what, const Figures &figures, const char *target)
{
    std::printf("%s (target %s)\n", what, target);
    std::printf("  wall: first %8.3f ms, median %8.3f ms, worst %8.3f ms\n", figures.wall.front(),
                median(figures.wall), *std::max_element(figures.wall.begin(), figures.wall.end()));
    std::printf("  cpu:  first %8.3f ms, median %8.3f ms, worst %8.3f ms\n", figures.cpu.front(),
                median(figures.cpu), *std::max_element(figures.cpu.begin(), figures.cpu.end()));
}

void prepare(THistoryStore &store, QDateTime &now)
{
    store.setLocale(BenchLocale);
    store.setClock([&now] { return now; });
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("History.Ini"));
    if (TextFile::writeLines(file, historyLines(200, 500))) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return 1;
    }
    QDateTime now(FirstDay.addDays(200), QTime(9, 0, 0));

    Figures loads;
    double memory = 0;
    for (int run = 0; run < 7; ++run) {
        const double before = heapInUseMiB();
        THistoryStore store;
        prepare(store, now);
        THistoryFilter proxy;
        proxy.setSourceModel(store.model());
        QTreeView view;
        view.setUniformRowHeights(true);
        view.setModel(&proxy);
        const Stopwatch watch;
        store.LoadHistory(file);
        store.AddTodayNode();
        loads.add(watch);
        if (run == 0)
            memory = heapInUseMiB() - before;
    }

    // Today's node already holds 5,000 pages when the measured visits come in.
    THistoryStore store;
    prepare(store, now);
    QStringList lines = historyLines(200, 475);
    lines << QStringLiteral("## ") + FirstDay.addDays(200).toString(QStringLiteral("M/d/yy"));
    for (int n = 0; n < 5000; ++n)
        lines << page(200, n);
    store.appendFileLines(lines);
    store.AddTodayNode();
    THistoryFilter proxy;
    proxy.setSourceModel(store.model());
    QTreeView view;
    view.setUniformRowHeights(true);
    view.setModel(&proxy);
    view.expand(proxy.mapFromSource(store.model()->index(200, 0)));
    Figures visits;
    for (int n = 0; n < 200; ++n) {
        now = now.addSecs(1);
        const Stopwatch watch;
        store.RecordVisit(QStringLiteral("Visited page"), QStringLiteral("https://example.org/"));
        visits.add(watch);
    }

    Figures saves;
    for (int run = 0; run < 7; ++run) {
        const Stopwatch watch;
        store.SaveHistory(file);
        saves.add(watch);
    }

    std::printf("entries in the saved tree: %d days, %lld lines\n", store.model()->rowCount(),
                static_cast<long long>(store.fileLines().size()));
    report("load + AddTodayNode, 100,000 pages / 200 days", loads, "first < 100 ms");
    std::printf("  memory of the loaded tree: %.1f MiB of heap (target <= 15 MiB)\n", memory);
    report("RecordVisit, 5,000 pages under today", visits, "< 1 ms");
    report("SaveHistory, 100,000 pages", saves, "< 200 ms");
    return 0;
}
