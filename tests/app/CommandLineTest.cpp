#include "app/CommandLine.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

// What the program takes from its command line before any window exists.
class CommandLineTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void addresses_data();
    void addresses();
    void helpVersionAndErrors_data();
    void helpVersionAndErrors();
    void appDirIsMadeAbsolute();

private:
    QTemporaryDir dir_;
};

void CommandLineTest::initTestCase()
{
    QVERIFY(dir_.isValid());
    QVERIFY(QDir(dir_.path()).mkdir("sub dir"));
    QFile page(dir_.filePath("sub dir/page one.html"));
    QVERIFY(page.open(QIODevice::WriteOnly));
}

void CommandLineTest::addresses_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("expected");
    const QString file = QUrl::fromLocalFile(dir_.filePath("sub dir/page one.html")).toString();
    const QString missing = QUrl::fromLocalFile(dir_.filePath("gone.html")).toString();
    QTest::newRow("none") << QStringList() << QStringList();
    QTest::newRow("web addresses in order")
        << QStringList{"https://example.org/a?b=c", "http://127.0.0.1:8080/"}
        << QStringList{"https://example.org/a?b=c", "http://127.0.0.1:8080/"};
    QTest::newRow("relative file") << QStringList{"sub dir/page one.html"} << QStringList{file};
    QTest::newRow("dotted relative file")
        << QStringList{"./sub dir/../sub dir/page one.html"} << QStringList{file};
    QTest::newRow("absolute file")
        << QStringList{dir_.filePath("sub dir/page one.html")} << QStringList{file};
    QTest::newRow("missing file is still a file")
        << QStringList{"./gone.html"} << QStringList{missing};
    QTest::newRow("bare host stays typed text")
        << QStringList{"example.org"} << QStringList{"example.org"};
    QTest::newRow("blank arguments dropped")
        << QStringList{"", "  ", "example.org"} << QStringList{"example.org"};
    QTest::newRow("after -- an address may start with a dash")
        << QStringList{"--", "-odd"} << QStringList{"-odd"};
}

void CommandLineTest::addresses()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, expected);
    const CommandLine line =
        CommandLine::parse(QStringList{"/usr/bin/quillmere"} + arguments, dir_.path());
    QCOMPARE(line.action(), CommandLine::Action::Run);
    QCOMPARE(line.addresses(), expected);
    QCOMPARE(line.exitCode(), 0);
}

void CommandLineTest::helpVersionAndErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("printed");
    QTest::addColumn<int>("exitCode");
    using A = CommandLine::Action;
    QTest::newRow("--help") << QStringList{"--help"} << int(A::ShowHelp)
                            << "Usage: quillmere [options] [address...]" << 0;
    QTest::newRow("-h") << QStringList{"-h", "example.org"} << int(A::ShowHelp) << "--appdir <DIR>"
                        << 0;
    QTest::newRow("--version") << QStringList{"--version"} << int(A::ShowVersion)
                               << "Quillmere " + CommandLine::version() << 0;
    QTest::newRow("unknown option")
        << QStringList{"--frobnicate"} << int(A::Fail) << "Unknown option 'frobnicate'." << 2;
    QTest::newRow("no Qt help promised")
        << QStringList{"--help-all"} << int(A::Fail) << "Unknown option 'help-all'." << 2;
    QTest::newRow("--appdir without folder")
        << QStringList{"--appdir"} << int(A::Fail) << "Missing value after '--appdir'." << 2;
}

void CommandLineTest::helpVersionAndErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, action);
    QFETCH(QString, printed);
    QFETCH(int, exitCode);
    const CommandLine line =
        CommandLine::parse(QStringList{"/usr/bin/quillmere"} + arguments, dir_.path());
    QCOMPARE(int(line.action()), action);
    QVERIFY2(line.output().contains(printed), qPrintable(line.output()));
    QCOMPARE(line.exitCode(), exitCode);
    QVERIFY(line.addresses().isEmpty());
}

void CommandLineTest::appDirIsMadeAbsolute()
{
    const CommandLine line = CommandLine::parse(
        {"quillmere", "--appdir", "sub dir/../profile", "example.org"}, dir_.path());
    QCOMPARE(line.appDir(), QDir::cleanPath(dir_.filePath("profile")));
    QCOMPARE(line.addresses(), QStringList{"example.org"});
    QCOMPARE(CommandLine::parse({"quillmere"}, dir_.path()).appDir(), QString());
}

// No application object: the program reads its command line before it makes one.
int main(int argc, char *argv[])
{
    CommandLineTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "CommandLineTest.moc"
