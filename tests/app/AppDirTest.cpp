#include "app/AppDir.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// Which folder the program keeps its files in.
class AppDirTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void cleanup() { qunsetenv("QUILLMERE_APPDIR"); }
    void resolve_data();
    void resolve();
};

void AppDirTest::resolve_data()
{
    QTest::addColumn<bool>("shippedHelp");
    QTest::addColumn<QString>("forced");
    QTest::addColumn<bool>("inExecutableFolder");
    QTest::newRow("portable folder with its help") << true << QString() << true;
    // An installed /usr/bin is writable when root runs the program.
    QTest::newRow("writable folder without data") << false << QString() << false;
    QTest::newRow("environment wins") << true << QStringLiteral("elsewhere") << false;
}

void AppDirTest::resolve()
{
    QFETCH(bool, shippedHelp);
    QFETCH(QString, forced);
    QFETCH(bool, inExecutableFolder);
    QTemporaryDir exe;
    if (shippedHelp)
        QVERIFY(QDir(exe.path()).mkdir("help"));
    if (!forced.isEmpty())
        qputenv("QUILLMERE_APPDIR", QFile::encodeName(exe.filePath(forced)));
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    QString expected = inExecutableFolder ? exe.path() : dataHome + "/quillmere";
    if (!forced.isEmpty())
        expected = exe.filePath(forced);
    QCOMPARE(AppDirectory::resolve(exe.path()), QDir::cleanPath(expected));
}

QTEST_GUILESS_MAIN(AppDirTest)
#include "AppDirTest.moc"
