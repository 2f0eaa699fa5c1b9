#include "organiser/OfflineFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The saved-pages folder as the OffLine page lists it, and the files its nodes open.
class OfflineFolderTest : public QObject
{
    Q_OBJECT

private:
    static void touch(const QString &path)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("x");
    }

private slots:
    void listsPagesOnlySortedWithoutCase()
    {
        QTemporaryDir dir;
        for (const char *name : {"Zeta.HTM", "alpha.mht", "notes.txt", "photo.jpg", "Beta.html",
                                 ".hidden.htm", "page.htm.bak"})
            touch(dir.filePath(QString::fromLatin1(name)));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.htm")));
        QCOMPARE(OfflineFolder::list(dir.path()),
                 (QStringList{"alpha.mht", "Beta.html", "notes.txt", "Zeta.HTM"}));
    }

    void eachPatternSearchedInTurnKeepsDoubles()
    {
        QTemporaryDir dir;
        for (const char *name : {"notes.txt", "News.htm", "other.txt"})
            touch(dir.filePath(QString::fromLatin1(name)));
        QCOMPARE(OfflineFolder::list(dir.path(), QStringLiteral("*.txt;N*")),
                 (QStringList{"News.htm", "notes.txt", "notes.txt", "other.txt"}));
    }

    void emptyOrMissingFolderListsNothing()
    {
        QTemporaryDir dir;
        QVERIFY(OfflineFolder::list(dir.path()).isEmpty());
        QVERIFY(OfflineFolder::list(dir.filePath(QStringLiteral("gone"))).isEmpty());
        QVERIFY(OfflineFolder::list(QString()).isEmpty());
    }

    void pathForNode_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("opens");
        QTest::newRow("listed file") << "notes.txt"
                                     << "notes.txt";
        QTest::newRow("saved page title finds its file") << "Daily News"
                                                         << "Daily News.mht";
        QTest::newRow("title whose file is missing stays as given") << "Lost Page"
                                                                    << "Lost Page";
    }

    void pathForNode()
    {
        QFETCH(QString, text);
        QFETCH(QString, opens);
        QTemporaryDir dir;
        touch(dir.filePath(QStringLiteral("notes.txt")));
        touch(dir.filePath(QStringLiteral("Daily News.mht")));
        QCOMPARE(OfflineFolder::pathForNode(dir.path(), text), dir.path() + u'/' + opens);
    }
};

QTEST_GUILESS_MAIN(OfflineFolderTest)
#include "OfflineFolderTest.moc"
