#include "fuzz/Readers.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTest>

// Every input that once crashed, hung or slowed a reader, and the seed files, fed to that
// reader again; a hang ends in the test's time-out.
class FuzzRegressionTest : public QObject
{
    Q_OBJECT
private slots:
    void replays_data();
    void replays();
};

void FuzzRegressionTest::replays_data()
{
    QTest::addColumn<QString>("reader");
    QTest::addColumn<QString>("path");
    for (const char *kind : {"regressions", "corpus"}) {
        const QDir root(QStringLiteral(QUILLMERE_SOURCE_DIR "/fuzz/") + QLatin1String(kind));
        for (const QString &reader : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            QDirIterator files(root.filePath(reader), QDir::Files);
            while (files.hasNext()) {
                const QString path = files.next();
                QTest::addRow("%s/%s/%s", kind, qPrintable(reader),
                              qPrintable(QFileInfo(path).fileName()))
                    << reader << path;
            }
        }
    }
}

void FuzzRegressionTest::replays()
{
    QFETCH(QString, reader);
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY2(Readers::feed(reader, file.readAll()), qPrintable(reader + " is no reader"));
}

QTEST_MAIN(FuzzRegressionTest)
#include "FuzzRegressionTest.moc"
