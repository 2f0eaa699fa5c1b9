#include "app/ProgramData.h"

#include "app/Globals.h"
#include "app/TextFile.h"
#include "lists/ListStore.h"
#include "organiser/HistoryStore.h"
#include "organiser/OfflineStore.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// The program's data on a program folder of its own: what it reads, writes and announces.
class ProgramDataTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir_;

    static void write(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

private slots:
    void init()
    {
        Globals = TGlobals();
        QDir(dir_.path()).removeRecursively();
        QVERIFY(QDir().mkpath(dir_.path()));
    }

    void optionsAreNeverWrittenUnread()
    {
        write(dir_.filePath("Options.INI"), "keep\r\n");
        ProgramData data(Globals, dir_.path());
        QVERIFY(!data.saveOptions());
        QCOMPARE(TextFile::readLines(dir_.filePath("Options.INI")).lines, QStringList{"keep"});

        // A file whose reading stops at a bad number keeps what came before, written whole at
        // once.
        write(dir_.filePath("Options.INI"), "keep\r\n\r\n\r\n\r\nletters\r\n");
        QSignalSpy options(&data, &ProgramData::optionsChanged);
        QVERIFY(!data.loadOptions());
        QCOMPARE(options.count(), 1);
        const QStringList lines = TextFile::readLines(dir_.filePath("Options.INI")).lines;
        QCOMPARE(lines.size(), 27);
        QCOMPARE(lines.first(), QString("keep"));
    }

    void failuresComeBackAsErrors()
    {
        // Directories where the files should be: nothing can be read or written there.
        for (const char *name : {"Options.INI", "History.Ini", "WebPages"})
            QVERIFY(QDir(dir_.path()).mkdir(name));
        ProgramData data(Globals, dir_.path());
        QVERIFY(data.prepareFolder() == std::nullopt);
        QVERIFY(data.loadOptions().has_value());
        QVERIFY(data.saveHistory().has_value());
        QVERIFY(QFileInfo(dir_.filePath("History.Ini")).isDir());
    }

    void missingWebPagesFolderIsMadeOrReported()
    {
        ProgramData data(Globals, dir_.path());
        QVERIFY(!data.prepareFolder());
        QVERIFY(QFileInfo(dir_.filePath("WebPages")).isDir());
        QCOMPARE(Globals.AppDir, dir_.path());

        QVERIFY(QDir(dir_.filePath("WebPages")).removeRecursively());
        write(dir_.filePath("WebPages"), "a file in the way");
        QVERIFY(data.prepareFolder().has_value());
    }

    void changesAreAnnounced()
    {
        write(dir_.filePath("WebPageList.INI"), "News|@|Daily|@||@|\r\n");
        ProgramData data(Globals, dir_.path());
        QSignalSpy lists(&data, &ProgramData::listsChanged);
        QSignalSpy history(&data, &ProgramData::historyChanged);
        QSignalSpy colors(&data, &ProgramData::colorsChanged);
        QSignalSpy settings(&data, &ProgramData::settingsChanged);

        QVERIFY(!data.loadLists());
        QCOMPARE(lists.count(), 1);
        QCOMPARE(data.lists().model()->rowCount(), 1);

        data.addTodayNode();
        data.RecordVisit("A", "http://a.example/");
        QCOMPARE(history.count(), 1);
        QVERIFY(Globals.HistoryChanged);
        // The same visit within its second is no change, and says nothing.
        Globals.HistoryChanged = false;
        data.RecordVisit("A", "http://a.example/");
        QCOMPARE(history.count(), 1);
        QVERIFY(!Globals.HistoryChanged);

        data.noteColorsChanged();
        data.noteOptionsChanged();
        QCOMPARE(colors.count(), 1);
        QCOMPARE(settings.count(), 2);
    }

    // The start-up reads end with one signal each; a save asked for before a read has ended
    // waits for it, so it writes back every list page and every history entry.
    void startupReadsEndBeforeAnySave()
    {
        QByteArray details;
        for (int page = 0; page < 2000; ++page)
            details += "News|@|http://n.example/" + QByteArray::number(page) + "\r\n";
        write(dir_.filePath("WebPageList.INI"), "News|@|Daily|@||@|\r\n");
        write(dir_.filePath("WebPageListDtl.INI"), details);
        const QStringList historyLines{"## 13.03.08", "a - http://a/ - 13.03.08"};
        QVERIFY(!TextFile::writeLines(dir_.filePath("History.Ini"), historyLines));
        const QStringList detailLines =
            TextFile::readLines(dir_.filePath("WebPageListDtl.INI")).lines;

        ProgramData data(Globals, dir_.path());
        QSignalSpy listsRead(&data, &ProgramData::listsLoaded);
        QSignalSpy historyRead(&data, &ProgramData::historyLoaded);
        data.beginLoadingLists();
        data.beginLoadingHistory();
        QVERIFY(data.loadingFiles());
        QVERIFY(!data.saveListDetails());
        QVERIFY(!data.saveHistory());
        QCOMPARE(TextFile::readLines(dir_.filePath("WebPageListDtl.INI")).lines, detailLines);
        QCOMPARE(TextFile::readLines(dir_.filePath("History.Ini")).lines, historyLines);

        QTRY_COMPARE(historyRead.count(), 1);
        QCOMPARE(listsRead.count(), 1);
        QCOMPARE(listsRead.at(0).at(0).toString(), QString());
        QCOMPARE(historyRead.at(0).at(0).toString(), QString());
        QVERIFY(!data.loadingFiles());
        // Today's node joins the days read from the file.
        QCOMPARE(data.history().model()->rowCount(), 2);
        QCOMPARE(data.lists().model()->item(0)->rowCount(), 2000);
    }

    void savedPagesJoinTheOfflineNodes()
    {
        QVERIFY(QDir(dir_.path()).mkdir("WebPages"));
        write(dir_.filePath("WebPages/saved.htm"), "<title>S</title>");
        ProgramData data(Globals, dir_.path());
        data.loadOffline();
        data.addSavedPage("Later Page");
        QCOMPARE(data.offline().model()->rowCount(), 2);
        QCOMPARE(data.offline().model()->item(1)->text(), QString("Later Page"));
        QVERIFY(!data.offline().model()->item(1)->icon().isNull());
    }
};

QTEST_MAIN(ProgramDataTest)
#include "ProgramDataTest.moc"
