// Readers on hostile inputs at 1 MB and 5 MB: the time must stay under a second and grow in
// step with the size (a ratio near 5), never with its square.
#include "app/Globals.h"
#include "app/TextFile.h"
#include "lists/ListStore.h"
#include "organiser/Bookmarks.h"
#include "organiser/OfflineSearch.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
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

double seconds(const std::function<void()> &work)
{
    QElapsedTimer clock;
    clock.start();
    work();
    return clock.nsecsElapsed() / 1e9;
}

void report(const char *name, const std::function<double(qsizetype)> &run)
{
    const double one = run(1 * MB);
    const double five = run(5 * MB);
    std::printf("%-44s 1 MB %7.3f s   5 MB %7.3f s   ratio %5.1f\n", name, one, five,
                one > 0 ? five / one : 0.0);
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

// Lists whose icon files all differ: 80,000 at "1 MB", 400,000 at "5 MB".
double iconLists(qsizetype size)
{
    const int lists = int(size / MB) * 80000;
    QTemporaryDir dir;
    QStringList lines;
    for (int n = 0; n < lists; ++n)
        lines << QStringLiteral("List %1|@|about it|@|icons/icon%1.png|@|").arg(n);
    TextFile::writeLines(dir.filePath(QStringLiteral("WebPageList.INI")), lines);
    TGlobals globals;
    globals.AppDir = dir.path();
    TListStore store(globals);
    return seconds([&] { store.LoadListsPanel(); });
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
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
    report("lists: 80,000 distinct icon files per MB", iconLists);
    return 0;
}
