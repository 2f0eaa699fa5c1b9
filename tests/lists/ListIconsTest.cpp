#include "app/Globals.h"
#include "lists/ListStore.h"

#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

// The pictures list files name: bitmaps lose their background colour, and nothing a name
// points at can hang the load.
class ListIconsTest : public QObject
{
    Q_OBJECT
private slots:
    void bitmapBackgrounds_data();
    void bitmapBackgrounds();
    void pipeNamedLikeAnIconGivesNoPicture();
};

void ListIconsTest::bitmapBackgrounds_data()
{
    QTest::addColumn<bool>("twoColours");
    QTest::addColumn<int>("centreAlpha");
    QTest::addColumn<int>("cornerAlpha");
    QTest::newRow("one colour stays visible") << false << 255 << 255;
    QTest::newRow("background of a drawing goes") << true << 255 << 0;
}

void ListIconsTest::bitmapBackgrounds()
{
    QFETCH(bool, twoColours);
    QFETCH(int, centreAlpha);
    QFETCH(int, cornerAlpha);
    QTemporaryDir dir;
    QImage bitmap(16, 16, QImage::Format_RGB32);
    bitmap.fill(QColor(Qt::red));
    if (twoColours)
        bitmap.setPixel(8, 8, qRgb(0, 0, 255));
    QVERIFY(bitmap.save(dir.filePath("Icon.bmp"), "BMP"));
    TGlobals globals;
    globals.AppDir = dir.path();
    TListStore store(globals);
    const int picture = store.ListIconIndex(QStringLiteral("icon.BMP"));
    QVERIFY(picture >= 2);
    const QImage shown = store.ImageList2().at(picture);
    QCOMPARE(qAlpha(shown.pixel(8, 8)), centreAlpha);
    QCOMPARE(qAlpha(shown.pixel(0, 15)), cornerAlpha);
    // Asked again, the same picture: loaded once per name.
    QCOMPARE(store.ListIconIndex(QStringLiteral("icon.BMP")), picture);
    QCOMPARE(store.ImageList2().size(), picture + 1);
}

void ListIconsTest::pipeNamedLikeAnIconGivesNoPicture()
{
    QTemporaryDir dir;
    QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("Pipe.bmp")).constData(), 0600), 0);
    TGlobals globals;
    globals.AppDir = dir.path();
    TListStore store(globals);
    QCOMPARE(store.ListIconIndex(QStringLiteral("Pipe.bmp")), -1);
}

QTEST_GUILESS_MAIN(ListIconsTest)
#include "ListIconsTest.moc"
