#include "shell/PictureChooser.h"

#include <QFile>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

// The chooser for the main window picture: only existing pictures, with a preview.
class PictureChooserTest : public QObject
{
    Q_OBJECT

private slots:
    void opensExistingPicturesOfReadableFormats()
    {
        TPictureChooser chooser(nullptr, QStringLiteral("Select Photo for Main Window"),
                                QDir::tempPath());
        QCOMPARE(chooser.windowTitle(), QStringLiteral("Select Photo for Main Window"));
        QCOMPARE(chooser.fileMode(), QFileDialog::ExistingFile);
        QCOMPARE(chooser.acceptMode(), QFileDialog::AcceptOpen);
        const QString filter = TPictureChooser::filter();
        QVERIFY2(filter.contains(QStringLiteral("*.png")) &&
                     filter.contains(QStringLiteral("*.bmp")),
                 qPrintable(filter));
        QVERIFY(chooser.isAncestorOf(chooser.preview()));
    }

    void previewShowsPicturesOnly()
    {
        QTemporaryDir dir;
        const QString photo = dir.filePath(QStringLiteral("wide.png"));
        QVERIFY(QImage(800, 200, QImage::Format_RGB32).save(photo));
        const QString notes = dir.filePath(QStringLiteral("notes.jpg"));
        QFile file(notes);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("not a picture at all") > 0);
        file.close();
        TPictureChooser chooser(nullptr, QStringLiteral("Pick"), dir.path());

        chooser.showPreview(photo);
        const QPixmap shown = chooser.preview()->pixmap();
        QVERIFY(!shown.isNull());
        QVERIFY(shown.width() <= chooser.preview()->width());
        QCOMPARE(shown.width() / shown.height(), 4);

        chooser.showPreview(notes);
        QVERIFY(chooser.preview()->pixmap().isNull());
        chooser.showPreview(dir.filePath(QStringLiteral("missing.png")));
        QVERIFY(chooser.preview()->pixmap().isNull());
    }
};

QTEST_MAIN(PictureChooserTest)
#include "PictureChooserTest.moc"
