// The History page's filter on a long history: 100,000 pages over 200 days, typed into and
// cleared as a person does. Each figure is the time from the key to a painted tree.
#include "ScriptedAsk.h"
#include "app/Globals.h"
#include "app/ProgramData.h"
#include "app/TextFile.h"
#include "organiser/HistoryPage.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTreeView>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

const QDate FirstDay(2024, 1, 1);

QStringList historyLines(int days, int perDay)
{
    QStringList lines;
    for (int day = 0; day < days; ++day) {
        const QString date = FirstDay.addDays(day).toString(QStringLiteral("M/d/yy"));
        lines << QStringLiteral("## ") + date;
        for (int n = 0; n < perDay; ++n)
            lines << QStringLiteral("Page %1 of day %2 - https://www.example.com/section/"
                                    "article-%1.html - %3 10:40:57 AM")
                         .arg(n)
                         .arg(day)
                         .arg(date);
    }
    return lines;
}

// Processor time of this thread: on a busy machine it shows what the work itself costs, where
// the wall clock shows what a user would wait.
double cpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

struct Figure
{
    double wall;
    double cpu;
    bool operator<(const Figure &other) const { return wall < other.wall; }
};

void press(QWidget *target, int key, const QString &text = {})
{
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &down);
    QApplication::sendEvent(target, &up);
}

// A key, then Enter (what the pause in typing would do at once), then the tree painted.
Figure keyToPaint(QLineEdit *box, QTreeView *tree, int key, const QString &text)
{
    QElapsedTimer watch;
    watch.start();
    const double cpuStart = cpuMs();
    press(box, key, text);
    press(box, Qt::Key_Return);
    QApplication::processEvents();
    tree->viewport()->repaint();
    return {watch.nsecsElapsed() / 1e6, cpuMs() - cpuStart};
}

Figure keyAlone(QLineEdit *box, int key, const QString &text)
{
    QElapsedTimer watch;
    watch.start();
    const double cpuStart = cpuMs();
    press(box, key, text);
    QApplication::processEvents();
    return {watch.nsecsElapsed() / 1e6, cpuMs() - cpuStart};
}

void report(const char *what, std::vector<Figure> values)
{
    std::sort(values.begin(), values.end());
    double worstCpu = 0;
    std::vector<double> cpu;
    for (const Figure &figure : values) {
        cpu.push_back(figure.cpu);
        worstCpu = std::max(worstCpu, figure.cpu);
    }
    std::sort(cpu.begin(), cpu.end());
    std::printf("%s (target < 100 ms)\n  wall: median %8.2f ms, worst %8.2f ms\n"
                "  cpu:  median %8.2f ms, worst %8.2f ms\n",
                what, values[values.size() / 2].wall, values.back().wall, cpu[cpu.size() / 2],
                worstCpu);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    if (TextFile::writeLines(dir.filePath(QStringLiteral("History.Ini")), historyLines(200, 500))) {
        std::fprintf(stderr, "cannot write the history\n");
        return 1;
    }
    ProgramData data(Globals, dir.path());
    ScriptedAsk ask;
    THistoryPage page(data, ask);
    page.resize(260, 700);
    page.show();
    page.LoadHistory();
    QApplication::processEvents();
    auto *tree = static_cast<QTreeView *>(page.treeView());
    QLineEdit *box = page.filterBox();

    std::vector<Figure> keys;
    std::vector<Figure> typing;
    std::vector<Figure> clearing;
    for (int run = 0; run < 5; ++run) {
        // "article-1": every page matches at first, a few hundred at the end.
        for (const QChar c : QStringLiteral("article-1"))
            typing.push_back(keyToPaint(box, tree, 0, c));
        for (int n = 0; n < 9; ++n)
            clearing.push_back(keyToPaint(box, tree, Qt::Key_Backspace, {}));
        for (const QChar c : QStringLiteral("page"))
            keys.push_back(keyAlone(box, 0, c));
        box->clear();
        press(box, Qt::Key_Return);
        QApplication::processEvents();
    }
    std::printf("History filter, 100,000 pages over 200 days\n");
    report("key alone (the filter waits for a pause)", keys);
    report("typing a character, filtered and painted", typing);
    report("deleting a character, filtered and painted", clearing);
    return 0;
}
