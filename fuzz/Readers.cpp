#include "fuzz/Readers.h"

#include "app/Colors.h"
#include "app/Globals.h"
#include "app/Options.h"
#include "app/TextFile.h"
#include "buttons/ButtonStore.h"
#include "lists/ListStore.h"
#include "organiser/Bookmarks.h"
#include "organiser/HistoryStore.h"
#include "organiser/OfflineSearch.h"
#include "organiser/Shortcut.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>

namespace Readers {
namespace {

void require(bool holds, const char *what)
{
    if (!holds) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

// One folder for the whole run: files are rewritten for every input. In memory when the
// system has a tmpfs at hand, since every save is synced to the disk.
const QTemporaryDir &folder()
{
    static const QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                       ? QStringLiteral("/dev/shm/quillmere-fuzz-XXXXXX")
                                       : QDir::tempPath() +
                                             QStringLiteral("/quillmere-fuzz-XXXXXX"));
    return dir;
}

QString put(const QString &name, const QByteArray &bytes)
{
    const QString path = folder().filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        std::abort();
    return path;
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What a line becomes when written: a line break inside it turns into a blank.
QStringList flattened(QStringList lines)
{
    for (QString &line : lines)
        line.replace(u'\r', u' ').replace(u'\n', u' ');
    return lines;
}

void text(const QByteArray &bytes)
{
    const QStringList lines = TextFile::splitLines(bytes);
    const QString path = folder().filePath(QStringLiteral("Text.Ini"));
    require(!TextFile::writeLines(path, lines), "text: write");
    require(TextFile::readLines(path).lines == flattened(lines), "text: written file reads back");
}

// Load, save, load again and save again: the two saved files are the same.
void settings(
    const QByteArray &bytes, const char *name,
    const std::function<void(const QString &, TGlobals &, MainWindowRect &)> &load,
    const std::function<void(const QString &, const TGlobals &, const MainWindowRect &)> &save)
{
    TGlobals first;
    MainWindowRect rect;
    load(put(QString::fromLatin1(name), bytes), first, rect);
    save(folder().filePath(QStringLiteral("first")), first, rect);
    TGlobals second;
    MainWindowRect rectBack;
    load(folder().filePath(QStringLiteral("first")), second, rectBack);
    save(folder().filePath(QStringLiteral("second")), second, rectBack);
    require(bytesOf(folder().filePath(QStringLiteral("first"))) ==
                bytesOf(folder().filePath(QStringLiteral("second"))),
            name);
}

void options(const QByteArray &bytes)
{
    settings(
        bytes, "Options.INI",
        [](const QString &path, TGlobals &g, MainWindowRect &rect) {
            Options::SetDefaultOptions(g);
            Options::LoadOptions(path, g, rect);
        },
        [](const QString &path, const TGlobals &g, const MainWindowRect &rect) {
            Options::SaveOptions(path, g, rect);
        });
}

void colors(const QByteArray &bytes)
{
    settings(
        bytes, "Colors.Ini",
        [](const QString &path, TGlobals &g, MainWindowRect &) {
            Colors::SetDefaultColors(g);
            Colors::LoadColors(path, g);
        },
        [](const QString &path, const TGlobals &g, const MainWindowRect &) {
            Colors::SaveColors(path, g);
        });
}

int pageCount(const QAbstractItemModel *model)
{
    int pages = 0;
    for (int row = 0; row < model->rowCount(); ++row)
        pages += 1 + model->rowCount(model->index(row, 0));
    return pages;
}

void history(const QByteArray &bytes)
{
    THistoryStore store;
    store.appendFileLines(TextFile::splitLines(bytes));
    // The file is read byte by byte on its own path: it must give the lines the text reader does.
    THistoryStore fromFile;
    fromFile.LoadHistory(put(QStringLiteral("History.Ini"), bytes));
    require(fromFile.fileLines() == store.fileLines(), "history: file read as its lines");
    store.AddTodayNode();
    // The input is also a page title: it must come back as one page, not as a day.
    store.RecordVisit(TextFile::decode(bytes), QStringLiteral("http://fuzz.example/"));
    const QStringList lines = flattened(store.fileLines());
    THistoryStore reread;
    reread.appendFileLines(lines);
    require(reread.fileLines() == lines, "history: written file reads back");
    require(pageCount(reread.model()) == pageCount(store.model()),
            "history: every node comes back as one");
    // Saved from the pages' bytes, the file is what writing the lines makes.
    const QString saved = folder().filePath(QStringLiteral("Saved.Ini"));
    const QString written = folder().filePath(QStringLiteral("Written.Ini"));
    store.SaveHistory(saved);
    TextFile::writeLines(written, store.fileLines());
    require(bytesOf(saved) == bytesOf(written), "history: saved as its lines are written");
}

void shortcut(const QByteArray &bytes)
{
    ReadShortcutUrl(put(QStringLiteral("Fuzz.url"), bytes));
}

void bookmarks(const QByteArray &bytes)
{
    const QStringList once = Bookmarks::render(Bookmarks::parse(TextFile::decode(bytes)));
    const QStringList twice = Bookmarks::render(Bookmarks::parse(once.join(u'\n')));
    const QStringList thrice = Bookmarks::render(Bookmarks::parse(twice.join(u'\n')));
    require(twice == thrice, "bookmarks: an exported file imports as it was");
}

void savedPage(const QByteArray &bytes)
{
    QString title;
    TOfflineSearch::pageText(QStringLiteral("page.htm"), bytes, &title);
}

void webArchive(const QByteArray &bytes)
{
    QString title;
    TOfflineSearch::pageText(QStringLiteral("page.mht"), bytes, &title);
}

void buttons(const QByteArray &bytes)
{
    put(TButtonStore::FileName, bytes);
    TButtonStore store;
    store.LoadButtonBar(folder().path());
}

// The input holds both list files, split at the first NUL.
void lists(const QByteArray &bytes)
{
    const qsizetype split = bytes.indexOf('\0');
    put(QStringLiteral("WebPageList.INI"), bytes.left(split < 0 ? bytes.size() : split));
    put(QStringLiteral("WebPageListDtl.INI"), split < 0 ? QByteArray() : bytes.mid(split + 1));
    TGlobals globals;
    globals.AppDir = folder().path();
    TListStore store(globals);
    store.LoadListsPanel();
    const auto saveError = store.SaveListDetails();
    const QByteArray saved = bytesOf(folder().filePath(QStringLiteral("WebPageListDtl.INI")));
    TListStore back(globals);
    back.LoadListsPanel();
    back.SaveListDetails();
    require(saveError || bytesOf(folder().filePath(QStringLiteral("WebPageListDtl.INI"))) == saved,
            "lists: written detail file reads back");
}

const std::map<QString, std::function<void(const QByteArray &)>> &table()
{
    static const std::map<QString, std::function<void(const QByteArray &)>> readers = {
        {QStringLiteral("text"), text},           {QStringLiteral("options"), options},
        {QStringLiteral("colors"), colors},       {QStringLiteral("history"), history},
        {QStringLiteral("shortcut"), shortcut},   {QStringLiteral("bookmarks"), bookmarks},
        {QStringLiteral("savedpage"), savedPage}, {QStringLiteral("webarchive"), webArchive},
        {QStringLiteral("buttons"), buttons},     {QStringLiteral("lists"), lists}};
    return readers;
}

} // namespace

QStringList names()
{
    QStringList out;
    for (const auto &entry : table())
        out << entry.first;
    return out;
}

bool feed(const QString &name, const QByteArray &bytes)
{
    const auto found = table().find(name);
    if (found == table().end())
        return false;
    found->second(bytes);
    return true;
}

} // namespace Readers
