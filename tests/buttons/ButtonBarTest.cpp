#include "buttons/ButtonBar.h"

#include "app/Colors.h"
#include "app/Globals.h"
#include "app/Navigation.h"
#include "app/ProgramData.h"
#include "controls/GlowButton.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QMainWindow>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

// The bar as the user meets it: clicks, keys, the toggle and its pictures.
class ButtonBarTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir appDir_;
    RecordingNavigation navigation_;
    std::unique_ptr<ProgramData> data_;

    void writeButtons(const QByteArray &bytes)
    {
        QFile file(appDir_.filePath(QStringLiteral("WebButtons.Ini")));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    void writePicture(const QString &name, int size)
    {
        QDir(appDir_.path()).mkpath(QStringLiteral("Bmps"));
        QImage picture(size, size, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QVERIFY(picture.save(appDir_.filePath(QStringLiteral("Bmps/") + name), "BMP"));
    }

private slots:
    void init()
    {
        data_ = std::make_unique<ProgramData>(Globals, appDir_.path());
        navigation_ = RecordingNavigation();
        setNavigation(&navigation_);
        QFile::remove(appDir_.filePath(QStringLiteral("WebButtons.Ini")));
    }

    void cleanup()
    {
        setNavigation(nullptr);
        data_.reset();
    }

    void buttonsStandInNumberOrderUnassigned()
    {
        TButtonBar bar(*data_);
        QCOMPARE(bar.buttons().size(), 34);
        QCOMPARE(bar.toolBar()->orientation(), Qt::Vertical);
        for (int number = 1; number <= 34; ++number) {
            TGlowButton *button = bar.buttons().at(number - 1);
            QCOMPARE(button->objectName(), QStringLiteral("TButton%1").arg(number));
            QCOMPARE(button->text(), QString::number(number));
            QVERIFY(!button->isEnabled());
        }
        QVERIFY(bar.isHidden());
        bar.resize(bar.width(), 1000);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        // Down the first column to 17, then down the second from 18.
        const auto at = [&bar](int number) { return bar.buttons().at(number - 1)->pos(); };
        for (int number = 2; number <= 34; ++number) {
            if (number == 18) {
                QVERIFY(at(18).x() > at(17).x());
                QCOMPARE(at(18).y(), at(1).y());
            } else {
                QCOMPARE(at(number).x(), at(number - 1).x());
                QVERIFY(at(number - 1).y() < at(number).y());
            }
        }
        QVERIFY(!bar.addButton()->isEnabled());
        QCOMPARE(bar.addButton()->text(), QStringLiteral("Add"));
        QCOMPARE(bar.addButton()->toolTip(), QStringLiteral("Add to Buttons"));
        QCOMPARE(bar.toggleButton()->toolTip(), QStringLiteral("Toggle between Web Site Buttons"));
    }

    void clickOpensTheButtonsAddress()
    {
        writeButtons("5##https://five.example/\r\n6##\r\n");
        TButtonBar bar(*data_);
        bar.LoadButtonBar();
        bar.show();
        QVERIFY(bar.buttons().at(4)->isEnabled());
        QVERIFY(bar.buttons().at(4)->toolTip().startsWith(QStringLiteral("https://five.example/")));
        QTest::mouseClick(bar.buttons().at(4), Qt::LeftButton);
        QTest::mouseClick(bar.buttons().at(5), Qt::LeftButton);
        // Unassigned: disabled, so a click does nothing.
        QTest::mouseClick(bar.buttons().at(6), Qt::LeftButton);
        QCOMPARE(navigation_.opened, (QStringList{"https://five.example/", ""}));
    }

    void reloadFollowsTheFile()
    {
        writeButtons("7##https://seven.example/\r\n");
        TButtonBar bar(*data_);
        bar.LoadButtonBar();
        QVERIFY(bar.buttons().at(6)->isEnabled());
        writeButtons("");
        bar.LoadButtonBar();
        QVERIFY(!bar.buttons().at(6)->isEnabled());
    }

    void toggleShowsHidesAndSwapsPictures()
    {
        writePicture(QStringLiteral("Start.Bmp"), 16);
        writePicture(QStringLiteral("Toggle2.Bmp"), 20);
        QWidget window;
        TButtonBar bar(*data_, &window);
        window.show();
        QVERIFY(bar.isHidden());
        QTest::mouseClick(bar.toggleButton(), Qt::LeftButton);
        QVERIFY(!bar.isHidden());
        QCOMPARE(bar.toggleButton()->icon().availableSizes().value(0), QSize(20, 20));
        QTest::mouseClick(bar.toggleButton(), Qt::LeftButton);
        QVERIFY(bar.isHidden());
        QCOMPARE(bar.toggleButton()->icon().availableSizes().value(0), QSize(16, 16));
    }

    void missingPictureStillToggles()
    {
        QDir(appDir_.filePath(QStringLiteral("Bmps"))).removeRecursively();
        TButtonBar bar(*data_);
        bar.TToggleBtnClick();
        QVERIFY(!bar.isHidden());
        QVERIFY(bar.toggleButton()->icon().isNull());
        bar.TToggleBtnClick();
        QVERIFY(bar.isHidden());
    }

    void altDigitsOpenButtonsOneToTenWhileHidden()
    {
        writeButtons("1##https://one.example/\r\n10##https://ten.example/\r\n11##eleven\r\n");
        QMainWindow window;
        auto *holder = new QWidget;
        auto *bar = new TButtonBar(*data_, holder);
        // The holder reaches the window only later, as a side panel would.
        window.setCentralWidget(holder);
        bar->LoadButtonBar();
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QVERIFY(bar->isHidden());
        QTest::keyClick(&window, Qt::Key_1, Qt::AltModifier);
        QTest::keyClick(&window, Qt::Key_0, Qt::AltModifier);
        QTest::keyClick(&window, Qt::Key_2, Qt::AltModifier); // unassigned
        QCOMPARE(navigation_.opened, (QStringList{"https://one.example/", "https://ten.example/"}));
        QVERIFY(bar->buttons().at(0)->toolTip().contains(QStringLiteral("Alt+1")));
        QVERIFY(bar->buttons().at(9)->toolTip().contains(QStringLiteral("Alt+0")));
        QVERIFY(!bar->buttons().at(10)->toolTip().contains(QStringLiteral("Alt")));
        // A key that does nothing is not offered.
        QVERIFY(!bar->buttons().at(1)->toolTip().contains(QStringLiteral("Alt")));
    }

    void unassignedButtonsLookUnassigned()
    {
        Colors::SetDefaultColors(Globals);
        writeButtons("1##https://one.example/\r\n");
        TButtonBar bar(*data_);
        bar.LoadButtonBar();
        bar.applyColors();
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        const QImage assigned = bar.buttons().at(0)->grab().toImage();
        const QImage unassigned = bar.buttons().at(1)->grab().toImage();
        // Away from the caption, in the upper and the lower half of the face.
        for (const QPoint &at : {QPoint(3, 4), QPoint(3, assigned.height() - 5)})
            QVERIFY(assigned.pixel(at) != unassigned.pixel(at));
    }

    void addButtonAsksForTheAssignDialog()
    {
        TButtonBar bar(*data_);
        QSignalSpy requests(&bar, &TButtonBar::assignButtonsRequested);
        bar.show();
        // Disabled until the window that owns the dialog has one.
        bar.addButton()->click();
        QCOMPARE(requests.count(), 0);
        bar.addButton()->setEnabled(true);
        bar.addButton()->click();
        QCOMPARE(requests.count(), 1);
    }
};

QTEST_MAIN(ButtonBarTest)
#include "ButtonBarTest.moc"
