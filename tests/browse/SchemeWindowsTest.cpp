#include "PixelColors.h"
#include "ProgramUnderTest.h"
#include "QuietStart.h"
#include "app/Colors.h"
#include "app/Globals.h"
#include "app/Navigation.h"
#include "app/TextFile.h"
#include "browse/ChildWindow.h"
#include "browse/MainWindow.h"
#include "buttons/ButtonBar.h"
#include "controls/GlowButton.h"
#include "controls/SchemeStyle.h"
#include "controls/WashBackground.h"
#include "controls/WindowTabBar.h"
#include "lists/ListsPage.h"
#include "organiser/FavoritesPage.h"
#include "organiser/HistoryPage.h"
#include "organiser/OfflinePage.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>
#include <QUrl>
#include <memory>

namespace {

// Every colour different, in the file's order.
const QList<QColor> Loud{{255, 200, 200}, {160, 0, 0},   {0, 0, 160},     {200, 255, 200},
                         {0, 120, 0},     {128, 0, 128}, {255, 255, 160}, {160, 80, 0},
                         {200, 255, 255}, {0, 100, 100}, {230, 230, 230}, {50, 50, 50},
                         {255, 220, 180}, {200, 100, 0}, {20, 20, 80},    {220, 220, 255},
                         {80, 80, 200},   {100, 0, 50},  {180, 220, 255}, {0, 60, 160},
                         {255, 140, 0}};

void setScheme(TGlobals &g, const QList<QColor> &colors)
{
    for (qsizetype i = 0; i < colors.size(); ++i)
        g.*Colors::FileOrder[i] = TSchemeColor::fromColor(colors[i]).value();
}

QColor rgb(qint32 value)
{
    return TSchemeColor(value).resolve();
}

void verifyButton(TGlowButton *button, const TGlobals &g)
{
    QVERIFY(button);
    const QString name = button->toolTip();
    QVERIFY2(button->gradientFrom() == rgb(g.ButtonBackColor), qPrintable(name));
    QVERIFY2(button->gradientTo() == rgb(g.ButtonEndColor), qPrintable(name));
    QVERIFY2(button->mirrorFrom() == rgb(g.ButtonBackColor), qPrintable(name));
    QVERIFY2(button->mirrorTo() == rgb(g.ButtonEndColor), qPrintable(name));
    QVERIFY2(button->fontColor() == rgb(g.ButtonTextColor), qPrintable(name));
    QVERIFY2(button->font().bold() == g.BoldText, qPrintable(name));
}

} // namespace

class SchemeWindowsTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void startupAppliesEveryRow();
    void boldOnAndOff();
    void openBrowserWindowsTakeNewSchemeAtOnce();

private:
    QList<QWidget *> lists() const;
    QList<TGlowButton *> buttons() const;

    std::unique_ptr<QTemporaryDir> appDir_;
    std::unique_ptr<ProgramUnderTest> program_;
    TQuillmere1 *window_ = nullptr;
};

void SchemeWindowsTest::init()
{
    appDir_ = std::make_unique<QTemporaryDir>();
    writeQuietOptions(appDir_->path(), true);
    TGlobals loud;
    setScheme(loud, Loud);
    QVERIFY(!Colors::SaveColors(appDir_->filePath(Colors::FileName), loud));
    Globals = TGlobals();
    program_ = std::make_unique<ProgramUnderTest>(appDir_->path());
    window_ = &program_->window;
    setNavigation(window_);
    window_->resize(1000, 700);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
    QVERIFY(window_->startupCompleted());
}

void SchemeWindowsTest::cleanup()
{
    setNavigation(nullptr);
    window_ = nullptr;
    program_.reset();
    appDir_.reset();
}

QList<QWidget *> SchemeWindowsTest::lists() const
{
    return {window_->favoritesPage()->listView(),
            window_->addressBox(),
            window_->windowListView(),
            window_->listsPage()->treeView(),
            window_->offlinePage()->treeView(),
            window_->historyPage()->treeView()};
}

QList<TGlowButton *> SchemeWindowsTest::buttons() const
{
    QList<TGlowButton *> all = window_->toolButtons();
    all << window_->buttonBar()->toggleButton() << window_->buttonBar()->addButton()
        << window_->buttonBar()->buttons();
    return all;
}

void SchemeWindowsTest::startupAppliesEveryRow()
{
    const TGlobals &g = Globals;
    QCOMPARE(rgb(g.MainBackColor), Loud[0]);
    QCOMPARE(rgb(g.ButtonTextColor), Loud[20]);

    // The window itself, and the frame area behind the browser windows.
    QCOMPARE(window_->palette().color(QPalette::Window), rgb(g.MainBackColor));
    QCOMPARE(window_->palette().color(QPalette::WindowText), rgb(g.ButtonTextColor));
    QCOMPARE(window_->mdiArea()->background().color(), rgb(g.MainBackColor));
    QVERIFY(window_->font().bold());

    // Tool bar style, on the main tool bar, the button strip and the window tab bar's dock.
    TSchemeStyle *bars = TSchemeStyle::shared(TSchemeStyle::ToolBars);
    QCOMPARE(window_->mainToolBar()->style(), bars);
    QCOMPARE(window_->buttonBar()->toolBar()->style(), bars);
    QCOMPARE(bars->gradient().from.value(), g.ToolbarBackColor);
    QCOMPARE(bars->gradient().to.value(), g.ToolbarEndColor);
    QCOMPARE(window_->mainToolBar()->palette().color(QPalette::ButtonText), rgb(g.ButtonTextColor));
    QCOMPARE(TWashBackground::of(window_->windowTabBar())->wash(), bars->gradient());
    const QImage toolBar = window_->mainToolBar()->grab().toImage();
    const int right = toolBar.width() - 3;
    QVERIFY(nearer(toolBar, {right, 2}, rgb(g.ToolbarBackColor), rgb(g.ToolbarEndColor)));
    QVERIFY(nearer(toolBar, {right, toolBar.height() - 3}, rgb(g.ToolbarEndColor),
                   rgb(g.ToolbarBackColor)));

    // Menu style: the bar and its drop-down menus.
    TSchemeStyle *menus = TSchemeStyle::shared(TSchemeStyle::Menus);
    QCOMPARE(window_->menuBar()->style(), menus);
    QCOMPARE(menus->gradient().from.value(), g.ToolbarBackColor);
    QCOMPARE(menus->gradient().to.value(), g.ToolbarEndColor);
    QCOMPARE(menus->textColor().value(), g.ToolbarTextColor);
    for (QMenu *menu : window_->menuBar()->findChildren<QMenu *>())
        QVERIFY2(menu->style() == menus, qPrintable(menu->title()));
    const QImage menuBar = window_->menuBar()->grab().toImage();
    QVERIFY(nearer(menuBar, {menuBar.width() - 3, menuBar.height() - 2}, rgb(g.ToolbarEndColor),
                   rgb(g.ToolbarBackColor)));

    // Window tab bar style.
    TSchemeStyle *tabs = TSchemeStyle::shared(TSchemeStyle::WindowTabs);
    QCOMPARE(window_->windowTabBar()->tabBar()->style(), tabs);
    QCOMPARE(tabs->gradient().from.value(), g.MainBackColor);
    QCOMPARE(tabs->gradient().to.value(), g.MainEndColor);
    QCOMPARE(tabs->borderColor().value(), g.MainBackColor);
    QCOMPARE(tabs->textColor().value(), g.MainTextColor);

    // Side panel style and each of its pages.
    TSchemeStyle *panel = TSchemeStyle::shared(TSchemeStyle::SidePanel);
    QTabWidget *side = window_->sidePanel();
    QCOMPARE(side->style(), panel);
    QCOMPARE(side->findChild<QTabBar *>()->style(), panel);
    QCOMPARE(panel->gradient().from.value(), g.MainBackColor);
    QCOMPARE(panel->gradient().to.value(), g.MainEndColor);
    QCOMPARE(panel->textColor().value(), g.MainTextColor);
    QCOMPARE(panel->borderColor().value(), g.MainBackColor);
    QCOMPARE(side->count(), 5);
    for (int i = 0; i < side->count(); ++i) {
        const TWashBackground *wash = TWashBackground::of(side->widget(i));
        QVERIFY2(wash, qPrintable(side->tabText(i)));
        QCOMPARE(wash->wash(),
                 (TWash{TSchemeColor(g.MainBackColor), TSchemeColor(g.MainEndColor), true}));
    }
    side->setCurrentWidget(window_->listsPage());
    const QImage page = window_->listsPage()->grab().toImage();
    QVERIFY(nearer(page, {1, page.height() / 2}, rgb(g.MainEndColor), rgb(g.MainBackColor)));

    // Lists, the picture view, the page labels.
    for (QWidget *list : lists()) {
        QVERIFY2(list->palette().color(QPalette::Base) == rgb(g.ListBackColor),
                 list->metaObject()->className());
        QVERIFY2(list->palette().color(QPalette::Text) == rgb(g.ListTextColor),
                 list->metaObject()->className());
    }
    QCOMPARE(window_->pictureView()->palette().color(QPalette::Window), rgb(g.MainBackColor));
    for (QLabel *label : {window_->favoritesPage()->label(), window_->listsPage()->label(),
                          window_->offlinePage()->label(), window_->historyPage()->label()})
        QCOMPARE(label->palette().color(QPalette::WindowText), rgb(g.MainTextColor));

    // The 13 tool bar buttons and the 34 web-site buttons.
    const QList<TGlowButton *> all = buttons();
    QCOMPARE(all.size(), 13 + 34);
    for (TGlowButton *button : all)
        verifyButton(button, g);
}

void SchemeWindowsTest::boldOnAndOff()
{
    for (bool bold : {false, true, false}) {
        Globals.BoldText = bold;
        program_->data.noteColorsChanged();
        QCOMPARE(window_->font().bold(), bold);
        for (QWidget *list : lists())
            QVERIFY2(list->font().bold() == bold, list->metaObject()->className());
        for (TGlowButton *button : buttons())
            QVERIFY2(button->font().bold() == bold, qPrintable(button->toolTip()));
    }
}

void SchemeWindowsTest::openBrowserWindowsTakeNewSchemeAtOnce()
{
    window_->OpenPage(fixture("alpha.htm"));
    TChildWin1 *first = window_->activeBrowserWindow();
    QVERIFY(first);
    QCOMPARE(first->toolButtons().size(), 10);
    for (TGlowButton *button : first->toolButtons())
        verifyButton(button, Globals);
    QCOMPARE(first->palette().color(QPalette::Window), rgb(Globals.MainBackColor));
    QCOMPARE(first->toolBar()->style(), TSchemeStyle::shared(TSchemeStyle::ToolBars));
    QCOMPARE(first->editMenu()->style(), TSchemeStyle::shared(TSchemeStyle::Menus));

    // The settings dialog's OK: new colours, and every open window takes them at once.
    QList<QColor> reversed = Loud;
    std::reverse(reversed.begin(), reversed.end());
    setScheme(Globals, reversed);
    Globals.BoldText = false;
    program_->data.noteColorsChanged();
    for (TGlowButton *button : first->toolButtons())
        verifyButton(button, Globals);
    QCOMPARE(first->palette().color(QPalette::Window), rgb(Globals.MainBackColor));

    // Another window comes and goes to the front; activation keeps the scheme.
    window_->OpenPage(fixture("beta.htm"));
    TChildWin1 *second = window_->activeBrowserWindow();
    QVERIFY(second && second != first);
    for (TGlowButton *button : second->toolButtons())
        verifyButton(button, Globals);
    window_->mdiArea()->setActiveSubWindow(first);
    QCOMPARE(window_->activeBrowserWindow(), first);
    for (TGlowButton *button : first->toolButtons())
        verifyButton(button, Globals);
    QCOMPARE(first->palette().color(QPalette::Window), rgb(Globals.MainBackColor));
    QCOMPARE(first->palette().color(QPalette::WindowText), rgb(Globals.ButtonTextColor));
}

QTEST_MAIN(SchemeWindowsTest)
#include "SchemeWindowsTest.moc"
