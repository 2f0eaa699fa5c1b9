#include "help/About.h"

#include "UiEvents.h"
#include "app/Globals.h"
#include "app/Navigation.h"
#include "app/ProgramData.h"

#include <QCalendarWidget>
#include <QDate>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

// The about box: today on the calendar, the project page behind both labels, its buttons.
class AboutTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void calendarShowsToday();
    void bothLabelsOpenTheProjectPage();
    void buttons();

private:
    QWidget *child(const char *name) const
    {
        return window_->findChild<QWidget *>(QString::fromLatin1(name));
    }

    TGlobals g_;
    RecordingNavigation navigation_;
    QTemporaryDir dir_;
    std::unique_ptr<ProgramData> data_;
    std::unique_ptr<TAbout1> window_;
};

void AboutTest::init()
{
    g_ = TGlobals();
    navigation_ = RecordingNavigation();
    setNavigation(&navigation_);
    data_ = std::make_unique<ProgramData>(g_, dir_.path());
    window_ = std::make_unique<TAbout1>(*data_);
}

void AboutTest::cleanup()
{
    window_.reset();
    data_.reset();
    setNavigation(nullptr);
}

void AboutTest::calendarShowsToday()
{
    auto *calendar = window_->findChild<QCalendarWidget *>(QStringLiteral("MonthCalendar1"));
    calendar->setSelectedDate(QDate(2001, 2, 3));
    window_->openModeless();
    QCOMPARE(calendar->selectedDate(), QDate::currentDate());
    QCOMPARE(calendar->monthShown(), QDate::currentDate().month());
    QCOMPARE(calendar->yearShown(), QDate::currentDate().year());
    QCOMPARE(calendar->palette().color(QPalette::Base), QColor(0x80, 0x80, 0x80));
    QCOMPARE(calendar->palette().color(QPalette::Text), QColor(Qt::black));
}

void AboutTest::bothLabelsOpenTheProjectPage()
{
    window_->openModeless();
    auto *name = static_cast<QLabel *>(child("Label2"));
    QVERIFY(name->text().startsWith(QStringLiteral("Quillmere 4.0")));
    QCOMPARE(name->cursor().shape(), Qt::PointingHandCursor);
    doubleClick(name, name->rect().center());
    QWidget *description = child("Label1");
    doubleClick(description, description->rect().center());
    const QString page = QString::fromLatin1(TAbout1::ProjectPage);
    QVERIFY(page.endsWith(QStringLiteral("/Default.Htm")));
    QCOMPARE(navigation_.opened, (QStringList{page, page}));
}

void AboutTest::buttons()
{
    for (const char *closer : {"OKBtn1", "CancelBtn"}) {
        window_->openModeless();
        QVERIFY(window_->isVisible());
        QWidget *button = child(closer);
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
        QVERIFY(!window_->isVisible());
    }
    window_->openModeless();
    QWidget *help = child("HelpBtn");
    QTest::mouseClick(help, Qt::LeftButton, {}, help->rect().center());
    QCOMPARE(navigation_.help, QStringList{QStringLiteral("about_quillmere.htm")});
}

QTEST_MAIN(AboutTest)
#include "AboutTest.moc"
