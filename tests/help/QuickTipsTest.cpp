#include "help/QuickTips.h"

#include "app/Globals.h"
#include "app/Navigation.h"
#include "app/ProgramData.h"
#include "controls/GlowButton.h"
#include "help/TipTable.h"

#include <QCheckBox>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

// The quick tips window as the user meets it: what it shows for a tip file, Next, the start-up
// check box and its buttons.
class QuickTipsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void showsOneOfTheTips();
    void paragraphsFollowTwoEmptyLines();
    void noTipsShowNothing_data();
    void noTipsShowNothing();
    void checkBoxShowsTheSettingInForce();
    void clickingTheBoxSwitchesStartTips();
    void anOpenWindowIsOnlyRaised();
    void buttons();
    void colours();

private:
    void writeTips(const QByteArray &bytes);
    void click(const char *name);
    QStringList memo() const { return window_->memoLines(); }

    QTemporaryDir dir_;
    TGlobals g_;
    RecordingNavigation navigation_;
    std::unique_ptr<ProgramData> data_;
    std::unique_ptr<TQuikTips1> window_;
};

void QuickTipsTest::init()
{
    g_ = TGlobals();
    data_ = std::make_unique<ProgramData>(g_, dir_.path());
    navigation_ = RecordingNavigation();
    setNavigation(&navigation_);
    window_ = std::make_unique<TQuikTips1>(*data_);
}

void QuickTipsTest::cleanup()
{
    window_.reset();
    data_.reset();
    setNavigation(nullptr);
    QFile::remove(dir_.filePath(QStringLiteral("TipHelp.Txt")));
}

void QuickTipsTest::writeTips(const QByteArray &bytes)
{
    QFile file(dir_.filePath(QStringLiteral("TipHelp.Txt")));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

void QuickTipsTest::click(const char *name)
{
    auto *button = window_->findChild<QAbstractButton *>(QString::fromLatin1(name));
    QVERIFY(button);
    // A check box answers on its box and caption, which sit at its left end.
    const QPoint at = qobject_cast<QCheckBox *>(button)
                          ? QPoint(button->height() / 2, button->height() / 2)
                          : button->rect().center();
    QTest::mouseClick(button, Qt::LeftButton, {}, at);
}

void QuickTipsTest::showsOneOfTheTips()
{
    // The program's file is found without regard to the case of its name.
    QFile::remove(dir_.filePath(QStringLiteral("TipHelp.Txt")));
    QFile file(dir_.filePath(QStringLiteral("tiphelp.txt")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("First tip\r\nSecond tip\r\nThird tip\r\n");
    file.close();
    window_->openModeless();
    const QList<QStringList> shown{TTipTable::memoLines(QStringLiteral("First tip")),
                                   TTipTable::memoLines(QStringLiteral("Second tip")),
                                   TTipTable::memoLines(QStringLiteral("Third tip"))};
    QVERIFY2(shown.contains(memo()), qPrintable(memo().join(u'/')));
    for (int i = 0; i < 20; ++i) {
        click("OKBtn1");
        QVERIFY2(shown.contains(memo()), qPrintable(memo().join(u'/')));
    }
    QFile::remove(file.fileName());
}

void QuickTipsTest::paragraphsFollowTwoEmptyLines()
{
    writeTips("First part|Second part\r\n");
    window_->openModeless();
    QCOMPARE(memo(), (QStringList{"", "", "First part", "", "", "Second part"}));
}

void QuickTipsTest::noTipsShowNothing_data()
{
    QTest::addColumn<bool>("fileThere");
    QTest::newRow("empty file") << true;
    QTest::newRow("no file") << false;
}

void QuickTipsTest::noTipsShowNothing()
{
    QFETCH(bool, fileThere);
    if (fileThere)
        writeTips(QByteArray());
    window_->openModeless();
    QVERIFY(window_->isVisible());
    QCOMPARE(memo(), QStringList());
    click("OKBtn1");
    QCOMPARE(memo(), QStringList());
}

void QuickTipsTest::checkBoxShowsTheSettingInForce()
{
    writeTips("A tip\r\n");
    auto *box = window_->findChild<QCheckBox *>(QStringLiteral("CHKSTART"));
    g_.StartTips = true;
    window_->openModeless();
    QVERIFY(!box->isChecked());
    window_->close();
    // The settings dialog switched tips off while the window was closed.
    g_.StartTips = false;
    window_->openModeless();
    QVERIFY(box->isChecked());
}

void QuickTipsTest::clickingTheBoxSwitchesStartTips()
{
    writeTips("A tip\r\n");
    g_.StartTips = true;
    window_->openModeless();
    click("CHKSTART");
    QCOMPARE(g_.StartTips, false);
    click("CHKSTART");
    QCOMPARE(g_.StartTips, true);
}

void QuickTipsTest::anOpenWindowIsOnlyRaised()
{
    writeTips("A tip\r\n");
    g_.StartTips = true;
    window_->openModeless();
    click("CHKSTART");
    auto *box = window_->findChild<QCheckBox *>(QStringLiteral("CHKSTART"));
    g_.StartTips = true; // changed elsewhere; the open window is left as the user set it
    window_->openModeless();
    QVERIFY(box->isChecked());
}

void QuickTipsTest::buttons()
{
    writeTips("A tip\r\n");
    window_->openModeless();
    click("HelpBtn");
    QCOMPARE(navigation_.help, QStringList{QStringLiteral("Index.htm")});
    click("CancelBtn");
    QVERIFY(!window_->isVisible());
}

void QuickTipsTest::colours()
{
    writeTips("A tip\r\n");
    g_.ListBackColor = 0x00FFFF;   // yellow, red in the low byte
    g_.ListTextColor = 0x800000;   // navy
    g_.ButtonTextColor = 0x0000FF; // red
    g_.BoldText = true;
    window_->openModeless();
    auto *memoEdit = window_->findChild<QPlainTextEdit *>(QStringLiteral("Memo1"));
    QCOMPARE(memoEdit->palette().color(QPalette::Base), QColor(Qt::yellow));
    QCOMPARE(memoEdit->palette().color(QPalette::Text), QColor(0, 0, 0x80));
    QVERIFY(memoEdit->font().bold());
    QCOMPARE(memoEdit->font().pointSize(), 12);
    auto *next = window_->findChild<TGlowButton *>(QStringLiteral("OKBtn1"));
    QCOMPARE(next->fontColor(), QColor(Qt::red));
    QVERIFY(next->font().bold());

    // New colours from the settings dialog reach the open window at once.
    g_.ListBackColor = 0xFFFFFF;
    g_.BoldText = false;
    data_->noteColorsChanged();
    QCOMPARE(memoEdit->palette().color(QPalette::Base), QColor(Qt::white));
    QVERIFY(!next->font().bold());
}

QTEST_MAIN(QuickTipsTest)
#include "QuickTipsTest.moc"
