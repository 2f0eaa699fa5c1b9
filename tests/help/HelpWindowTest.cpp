#include "help/HelpWindow.h"

#include "UiEvents.h"
#include "app/Globals.h"
#include "app/ProgramData.h"
#include "help/SearchPanel.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QWebEngineView>

// The help window on the shipped help pages: where it opens, the search panel, topics, its
// buttons, and turning to a new topic without losing the page the user went to.
class HelpWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void storedBoundsOverTheLimits();
    void captionFollowsThePageShown();
    void placeAndSizeSurviveClosing();
    void lostWindowComesBack();
    void searchSelectsTopics();
    void enterRemembersTheSearchAndOpensTheTopic();
    void doubleClickOpensTopics_data();
    void doubleClickOpensTopics();
    void noTopicSelectedOpensNothing();
    void showHelpTurnsAnOpenWindow();
    void findButtonPictures();
    void buttonsWithoutPictures();
    void panelMovesAndStaysReachable();

private:
    THelpWin1 *open(const QString &name);
    bool waitForPage(const QString &fileName);
    void click(QWidget *widget);
    QString pageFile() const { return HelpWin1->WebBrowser1->url().fileName(); }
    void followLink(const QString &href);

    QTemporaryDir dir_;
    TGlobals g_;
    std::unique_ptr<ProgramData> data_;
};

void HelpWindowTest::initTestCase()
{
    QDir source(QStringLiteral(QUILLMERE_SOURCE_DIR "/data/Help"));
    QDir(dir_.path()).mkpath(QStringLiteral("Help"));
    for (const QString &name : source.entryList(QDir::Files))
        QVERIFY(QFile::copy(source.filePath(name), dir_.filePath(QStringLiteral("Help/") + name)));
}

void HelpWindowTest::init()
{
    g_ = TGlobals();
    data_ = std::make_unique<ProgramData>(g_, dir_.path());
    g_.HelpLeft = 450;
    g_.HelpTop = 100;
    g_.HelpHeight = 400;
    g_.HelpWidth = 600;
}

void HelpWindowTest::cleanup()
{
    if (HelpWin1)
        HelpWin1->close();
    QTRY_VERIFY(HelpWin1.isNull());
    QVERIFY(!g_.HelpOpen);
    data_.reset();
}

THelpWin1 *HelpWindowTest::open(const QString &name)
{
    THelpWin1::ShowHelp(*data_, name);
    return HelpWin1;
}

bool HelpWindowTest::waitForPage(const QString &fileName)
{
    QSignalSpy loaded(HelpWin1->WebBrowser1, &QWebEngineView::loadFinished);
    for (int i = 0; i < 200 && !(pageFile() == fileName && !loaded.isEmpty()); ++i)
        loaded.wait(100);
    if (pageFile() != fileName)
        qWarning() << "showing" << pageFile() << "instead of" << fileName
                   << HelpWin1->WebBrowser1->page()->requestedUrl() << loaded.count();
    return pageFile() == fileName;
}

void HelpWindowTest::click(QWidget *widget)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

void HelpWindowTest::followLink(const QString &href)
{
    // A click where the link is on screen, as the user makes it: a link followed from script
    // would take the place of the page in the history.
    QWebEngineView *view = HelpWin1->WebBrowser1;
    QVariant where;
    view->page()->runJavaScript(
        QStringLiteral("(function(){const r = document.querySelector('a[href=\"%1\"]')"
                       ".getBoundingClientRect(); return [r.left + 4, r.top + r.height / 2];})()")
            .arg(href),
        [&where](const QVariant &result) { where = result; });
    QTRY_VERIFY(where.isValid());
    const QVariantList point = where.toList();
    const QPoint at(point.value(0).toInt(), point.value(1).toInt());
    QWidget *surface = view->focusProxy();
    QTest::mouseClick(surface, Qt::LeftButton, {}, at);
}

void HelpWindowTest::storedBoundsOverTheLimits()
{
    g_.HelpLeft = 1200;
    g_.HelpWidth = 2500;
    THelpWin1 *window = open(QStringLiteral("Index.Htm"));
    QCOMPARE(window->pos().x(), 100);
    QCOMPARE(window->width(), 250);
    QCOMPARE(window->pos().y(), 100);
    QCOMPARE(window->height(), 400);
    QVERIFY(g_.HelpOpen);
    QVERIFY(window->windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(window->windowTitle(), QStringLiteral("Help with ") +
                                        QDir(dir_.path()).filePath(QStringLiteral("Help/Index")));
    QVERIFY(waitForPage(QStringLiteral("Index.Htm")));
}

void HelpWindowTest::captionFollowsThePageShown()
{
    THelpWin1 *window = open(QStringLiteral("about_quillmere.htm"));
    QVERIFY(waitForPage(QStringLiteral("about_quillmere.htm")));
    followLink(QStringLiteral("welcome_to_quillmere.htm"));
    QVERIFY(waitForPage(QStringLiteral("welcome_to_quillmere.htm")));
    QTRY_COMPARE(window->windowTitle(),
                 QStringLiteral("Help with ") +
                     QDir(dir_.path()).filePath(QStringLiteral("Help/welcome_to_quillmere")));
}

void HelpWindowTest::placeAndSizeSurviveClosing()
{
    THelpWin1 *window = open(QStringLiteral("Index.Htm"));
    window->move(130, 90);
    window->resize(500, 300);
    const QRect before(window->pos(), window->size());
    window->close();
    QTRY_VERIFY(HelpWin1.isNull());
    QCOMPARE(QRect(g_.HelpLeft, g_.HelpTop, g_.HelpWidth, g_.HelpHeight), before);
    window = open(QStringLiteral("Index.Htm"));
    QCOMPARE(QRect(window->pos(), window->size()), before);
}

void HelpWindowTest::lostWindowComesBack()
{
    g_.HelpLeft = -4000;
    g_.HelpTop = -50;
    g_.HelpWidth = 20;
    g_.HelpHeight = -3;
    THelpWin1 *window = open(QStringLiteral("Index.Htm"));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(window->width() >= 250 && window->height() >= 200);
    QVERIFY(screen.contains(QRect(window->pos(), window->size())));
}

void HelpWindowTest::searchSelectsTopics()
{
    g_.ListBackColor = 0x00FFFF; // yellow: red in the low byte
    g_.ListTextColor = 0x800000; // navy
    THelpWin1 *window = open(QStringLiteral("Index.Htm"));
    for (QWidget *field : {static_cast<QWidget *>(window->Panel1->ListBox1),
                           static_cast<QWidget *>(window->Panel1->CMBINDEX)}) {
        QCOMPARE(field->palette().color(QPalette::Base), QColor(Qt::yellow));
        QCOMPARE(field->palette().color(QPalette::Text), QColor(0, 0, 0x80));
    }
    QVERIFY(!window->Panel1->isVisible());
    click(window->TFindBtn);
    QVERIFY(window->Panel1->isVisible());
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(window->Panel1->CMBINDEX));
    QListWidget *topics = window->Panel1->ListBox1;
    QCOMPARE(topics->count(), 40);
    QCOMPARE(topics->currentRow(), -1);

    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("cr"));
    QCOMPARE(topics->currentRow(), 5);
    QCOMPARE(topics->currentItem()->text(), QStringLiteral("Creating and Using Favorite Lists"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("t"));
    QCOMPARE(topics->currentRow(), 33);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("CR"));
    QCOMPARE(topics->currentRow(), 5);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("zz"));
    QCOMPARE(topics->currentRow(), 5);

    click(window->TFindBtn);
    QVERIFY(!window->Panel1->isVisible());
    QVERIFY(!window->SearchShown);
}

void HelpWindowTest::enterRemembersTheSearchAndOpensTheTopic()
{
    THelpWin1 *window = open(QStringLiteral("Index.Htm"));
    QVERIFY(waitForPage(QStringLiteral("Index.Htm")));
    click(window->TFindBtn);
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(window->Panel1->CMBINDEX));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("running"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY(waitForPage(QStringLiteral("running_a_web_site_list.htm")));
    // Enter again keeps a second copy: the list is what was searched, in order.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QComboBox *search = window->Panel1->CMBINDEX;
    QCOMPARE(search->count(), 2);
    QCOMPARE(search->itemText(0), QStringLiteral("running"));
    QCOMPARE(search->itemText(1), QStringLiteral("running"));
}

void HelpWindowTest::doubleClickOpensTopics_data()
{
    QTest::addColumn<QString>("topic");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("title");
    QTest::newRow("Table of Contents") << "Table of Contents"
                                       << "Index.Htm"
                                       << "Quillmere Help: Contents";
    QTest::newRow("Contents") << "Contents"
                              << "Index.Htm"
                              << "Quillmere Help: Contents";
    QTest::newRow("name with spaces") << "E-Mail Address Book"
                                      << "e-mail address list.htm"
                                      << "E-mail address book";
}

void HelpWindowTest::doubleClickOpensTopics()
{
    QFETCH(QString, topic);
    QFETCH(QString, page);
    QFETCH(QString, title);
    THelpWin1 *window = open(QStringLiteral("about_quillmere.htm"));
    QVERIFY(waitForPage(QStringLiteral("about_quillmere.htm")));
    click(window->TFindBtn);
    QListWidget *topics = window->Panel1->ListBox1;
    QListWidgetItem *item = topics->findItems(topic, Qt::MatchExactly).value(0);
    QVERIFY(item);
    topics->scrollToItem(item);
    doubleClick(topics->viewport(), topics->visualItemRect(item).center());
    QVERIFY(waitForPage(page));
    QTRY_COMPARE(window->WebBrowser1->title(), title);
}

void HelpWindowTest::noTopicSelectedOpensNothing()
{
    THelpWin1 *window = open(QStringLiteral("about_quillmere.htm"));
    QVERIFY(waitForPage(QStringLiteral("about_quillmere.htm")));
    click(window->TFindBtn);
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(window->Panel1->CMBINDEX));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("zz"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    window->ListBox1DblClick();
    QTest::qWait(300);
    QCOMPARE(pageFile(), QStringLiteral("about_quillmere.htm"));
    QCOMPARE(window->Panel1->ListBox1->currentRow(), -1);
}

void HelpWindowTest::showHelpTurnsAnOpenWindow()
{
    THelpWin1 *window = open(QStringLiteral("Index.Htm"));
    QVERIFY(waitForPage(QStringLiteral("Index.Htm")));
    QWidget other;
    other.show();
    other.activateWindow();
    QTRY_VERIFY(other.isActiveWindow());

    THelpWin1::ShowHelp(*data_, QStringLiteral("web_browser_window.htm"));
    QCOMPARE(HelpWin1.data(), window);
    QVERIFY(waitForPage(QStringLiteral("web_browser_window.htm")));
    QTRY_VERIFY(window->isActiveWindow());

    followLink(QStringLiteral("using_quillmere.htm"));
    QVERIFY(waitForPage(QStringLiteral("using_quillmere.htm")));
    QVERIFY(THelpWin1::LastHelpPage().endsWith(QStringLiteral("/using_quillmere.htm")));
    other.activateWindow();
    QTRY_VERIFY(other.isActiveWindow());
    window->activateWindow();
    QTRY_VERIFY(window->isActiveWindow());
    QTest::qWait(300);
    QCOMPARE(pageFile(), QStringLiteral("using_quillmere.htm"));

    click(window->TBackBtn);
    QVERIFY(waitForPage(QStringLiteral("web_browser_window.htm")));
    click(window->TfrwdBtn);
    QVERIFY(waitForPage(QStringLiteral("using_quillmere.htm")));
    click(window->THomeBtn);
    QVERIFY(waitForPage(QStringLiteral("Index.Htm")));
}

void HelpWindowTest::findButtonPictures()
{
    // The pictures are found whatever the case of their names.
    QDir bmps(dir_.filePath(QStringLiteral("Bmps")));
    QVERIFY(bmps.mkpath(QStringLiteral(".")));
    auto save = [&bmps](const QString &name, Qt::GlobalColor colour) {
        QImage picture(16, 16, QImage::Format_RGB32);
        picture.fill(colour);
        return picture.save(bmps.filePath(name), "BMP");
    };
    QVERIFY(save(QStringLiteral("Search16_H.BMP"), Qt::red));
    QVERIFY(save(QStringLiteral("UNDO.bmp"), Qt::blue));
    auto shown = [](QToolButton *button) {
        return button->icon().pixmap(16, 16).toImage().pixelColor(8, 8);
    };
    THelpWin1 *window = open(QStringLiteral("Index.Htm"));
    QCOMPARE(shown(window->TFindBtn), QColor(Qt::red));
    click(window->TFindBtn);
    QCOMPARE(shown(window->TFindBtn), QColor(Qt::blue));
    click(window->TFindBtn);
    QCOMPARE(shown(window->TFindBtn), QColor(Qt::red));
    QVERIFY(bmps.removeRecursively());
}

void HelpWindowTest::buttonsWithoutPictures()
{
    // No Bmps folder at all: the Find button still shows a picture and still works.
    THelpWin1 *window = open(QStringLiteral("Index.Htm"));
    QVERIFY(!window->TFindBtn->icon().isNull());
    QCOMPARE(window->TFindBtn->toolTip(), QStringLiteral("Search Help for Topic"));
    for (int i = 0; i < 2; ++i) {
        click(window->TFindBtn);
        QVERIFY(!window->TFindBtn->icon().isNull());
    }
    QVERIFY(!window->Panel1->isVisible());
    // At either end of the page history Back and Forward do nothing.
    QVERIFY(waitForPage(QStringLiteral("Index.Htm")));
    click(window->TBackBtn);
    click(window->TfrwdBtn);
    QTest::qWait(300);
    QCOMPARE(pageFile(), QStringLiteral("Index.Htm"));
    for (QWidget *top : QApplication::topLevelWidgets())
        QVERIFY(!qobject_cast<QMessageBox *>(top) || !top->isVisible());
}

void HelpWindowTest::panelMovesAndStaysReachable()
{
    THelpWin1 *window = open(QStringLiteral("Index.Htm"));
    click(window->TFindBtn);
    TSearchPanel *panel = window->Panel1;
    QCOMPARE(panel->pos(), QPoint(0, 36));
    const QPoint grip(1, panel->height() / 2);
    QTest::mousePress(panel, Qt::LeftButton, {}, grip);
    QTest::mouseMove(panel, grip + QPoint(120, 20));
    QTest::mouseRelease(panel, Qt::LeftButton, {}, grip + QPoint(120, 20));
    QCOMPARE(panel->pos(), QPoint(120, 56));
    QTest::mousePress(panel, Qt::LeftButton, {}, grip);
    QTest::mouseMove(panel, grip + QPoint(5000, 5000));
    QTest::mouseRelease(panel, Qt::LeftButton, {}, grip + QPoint(5000, 5000));
    QVERIFY(window->rect().contains(panel->geometry()));
}

QTEST_MAIN(HelpWindowTest)
#include "HelpWindowTest.moc"
