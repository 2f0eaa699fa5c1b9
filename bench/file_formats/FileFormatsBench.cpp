// Readers on hostile inputs at 1 MB and 5 MB: the time must stay under a second and grow in
// step with the size (a ratio near 5), never with its square. Times are processor time of the
// reading thread. Pass part of a case's name to run only the cases holding it.
#include "app/Globals.h"
#include "app/TextFile.h"
#include "lists/ListStore.h"
#include "organiser/Bookmarks.h"
#include "organiser/OfflineSearch.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>
#include <functional>

namespace {

constexpr qsizetype MB = 1024 * 1024;

// piece repeated until the text is size bytes long, after head.
QByteArray filled(const QByteArray &head, const QByteArray &piece, qsizetype size)
{
    QByteArray out = head;
    out.reserve(size + piece.size());
    while (out.size() < size)
        out += piece;
    return out;
}

QByteArray distinctAttributes(qsizetype size)
{
    QByteArray out = "<DL><p><DT><A HREF=\"http://a.example/\"";
    for (int n = 0; out.size() < size; ++n)
        out += " a" + QByteArray::number(n) + "=\"" + QByteArray::number(n) + "\"";
    return out + ">x</A></DL>";
}

double threadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// What the work cost this thread in processor time, kernel time included: on a shared machine
// the wall clock also counts the other programs. The wall time is kept for the report.
double lastWall = 0;

double seconds(const std::function<void()> &work)
{
    QElapsedTimer clock;
    clock.start();
    const double start = threadSeconds();
    work();
    lastWall = clock.nsecsElapsed() / 1e9;
    return threadSeconds() - start;
}

// Cases whose name holds this text; all when empty (the first argument, for profiling one).
QString &only()
{
    static QString text;
    return text;
}

// A first, untimed-for-the-ratio run at 5 MB takes the memory the case needs from the system:
// after it both sizes find the heap as large, so the ratio shows how the work grows, not how
// many fresh pages each size happened to need. That first run is reported too ("first").
void report(const char *name, const std::function<double(qsizetype)> &run)
{
    if (!QString::fromUtf8(name).contains(only(), Qt::CaseInsensitive))
        return;
    const double first = run(5 * MB);
    const double one = run(1 * MB);
    const double oneWall = lastWall;
    const double five = run(5 * MB);
    std::printf("%-46s 1 MB %6.3f s  5 MB %6.3f s  ratio %4.1f  first %6.3f s  (wall %.3f s, "
                "%.3f s)\n",
                name, one, five, one > 0 ? five / one : 0.0, first, oneWall, lastWall);
}

double savedPage(const QByteArray &bytes)
{
    return seconds([&] {
        QString title;
        TOfflineSearch::pageText(QStringLiteral("page.htm"), bytes, &title);
    });
}

double bookmarks(const QByteArray &bytes)
{
    const QString html = TextFile::decode(bytes);
    return seconds([&] { Bookmarks::parse(html); });
}

double webArchive(const QByteArray &html)
{
    const QByteArray bytes = "MIME-Version: 1.0\r\nContent-Type: multipart/related; "
                             "boundary=\"b\"\r\n\r\n--b\r\nContent-Type: text/html; "
                             "charset=utf-8\r\nContent-Transfer-Encoding: 8bit\r\n\r\n" +
                             html + "\r\n--b--\r\n";
    return seconds([&] { TOfflineSearch::pageText(QStringLiteral("page.mht"), bytes); });
}

double loadLists(const QStringList &lists, const QStringList &pages)
{
    QTemporaryDir dir;
    TextFile::writeLines(dir.filePath(QStringLiteral("WebPageList.INI")), lists);
    TextFile::writeLines(dir.filePath(QStringLiteral("WebPageListDtl.INI")), pages);
    TGlobals globals;
    globals.AppDir = dir.path();
    TListStore store(globals);
    return seconds([&] { store.LoadListsPanel(); });
}

// Lines of the list file until it holds size bytes (each line ends in CR LF), or count lines.
QStringList iconListLines(qsizetype size, int count = -1)
{
    QStringList lines;
    qsizetype bytes = 0;
    for (int n = 0; count < 0 ? bytes < size : n < count; ++n) {
        lines << QStringLiteral("List %1|@|about it|@|icons/icon%1.png|@|").arg(n);
        bytes += lines.last().size() + 2;
    }
    return lines;
}

// Lists whose icon files all differ, in a list file of that size.
double iconLists(qsizetype size)
{
    return loadLists(iconListLines(size), {});
}

// The same by count: 80,000 lists for "1 MB", 400,000 for "5 MB" (files of 3.7 and 19 MB).
double iconListCount(qsizetype size)
{
    return loadLists(iconListLines(0, int(size / MB) * 80000), {});
}

// A detail file of that size: 100 lists of many pages each.
double listPages(qsizetype size)
{
    QStringList lists;
    for (int n = 0; n < 100; ++n)
        lists << QStringLiteral("List %1|@|about it|@||@|").arg(n);
    QStringList pages;
    qsizetype bytes = 0;
    for (int n = 0; bytes < size; ++n) {
        pages << QStringLiteral("List %1|@|http://www.example.com/page%2.html").arg(n % 100).arg(n);
        bytes += pages.last().size() + 2;
    }
    return loadLists(lists, pages);
}

} // namespace

int main(int argc, char **argv)
{
    // List pages carry pictures, which need the GUI side of Qt, but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    if (argc > 1)
        only() = QString::fromLocal8Bit(argv[1]);
    report("saved page: unclosed <title> tags",
           [](qsizetype size) { return savedPage(filled("<html><head>", "<title>x ", size)); });
    report("saved page: distinct attributes in one tag",
           [](qsizetype size) { return savedPage(distinctAttributes(size)); });
    report("saved page: \"&\" runs",
           [](qsizetype size) { return savedPage(filled("<p>", "&&amp&#", size)); });
    report("saved page: nested elements",
           [](qsizetype size) { return savedPage(filled("<body>", "<div><span>", size)); });
    report("bookmarks: quoted attributes on one line",
           [](qsizetype size) { return bookmarks(distinctAttributes(size)); });
    report("bookmarks: same attribute repeated", [](qsizetype size) {
        return bookmarks(filled("<DL><p><DT><A HREF=\"x\"", " ADD_DATE=\"1\"", size));
    });
    report("bookmarks: \"&\" without \";\"", [](qsizetype size) {
        return bookmarks(filled("<DL><p><DT><A HREF=\"http://a/\">", "&amp &eacute &", size));
    });
    report("bookmarks: many bookmarks", [](qsizetype size) {
        return bookmarks(filled("<DL><p>\n", "<DT><A HREF=\"http://a.example/\">A</A>\n", size));
    });
    report("web archive: unclosed <title> tags",
           [](qsizetype size) { return webArchive(filled("<html><head>", "<title>x ", size)); });
    report("lists: distinct icon files", iconLists);
    report("lists: 80,000 distinct icon files per MB step", iconListCount);
    report("lists: pages of 100 lists", listPages);
    return 0;
}
