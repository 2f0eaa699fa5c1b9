#include "PixelColors.h"
#include "controls/ApplyScheme.h"
#include "controls/GlowButton.h"
#include "controls/SchemeFollower.h"
#include "controls/SchemeStyle.h"
#include "controls/WashBackground.h"
#include "controls/WashLabel.h"
#include "controls/WashPanel.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

const QColor Red(220, 0, 0);
const QColor Blue(0, 0, 220);
const QColor Green(0, 200, 0);
const QColor Yellow(230, 230, 0);
const TSchemeColor SystemWindow(-16777211);

TSchemeColor scheme(const QColor &color)
{
    return TSchemeColor::fromColor(color);
}

bool hasPixelNear(const QImage &image, const QRect &area, const QColor &color)
{
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (colorDistance(image.pixelColor(x, y), color) < 150)
                return true;
        }
    }
    return false;
}

QImage shot(QWidget &widget)
{
    widget.ensurePolished();
    return widget.grab().toImage();
}

TGlobals loudScheme()
{
    TGlobals g;
    g.ListBackColor = TSchemeColor::fromColor(Yellow).value();
    g.ListTextColor = TSchemeColor::fromColor(Blue).value();
    g.EntryBackColor = TSchemeColor::fromColor(Green).value();
    g.EntryTextColor = TSchemeColor::fromColor(Red).value();
    g.SelectBackColor = TSchemeColor::fromColor(Red).value();
    g.SelectEndColor = TSchemeColor::fromColor(Blue).value();
    g.SelectTextColor = TSchemeColor::fromColor(Yellow).value();
    g.TipsBackColor = TSchemeColor::fromColor(Green).value();
    g.TipsEndColor = TSchemeColor::fromColor(Yellow).value();
    g.TipsTextColor = TSchemeColor::fromColor(Red).value();
    g.ButtonBackColor = TSchemeColor::fromColor(Green).value();
    g.ButtonEndColor = TSchemeColor::fromColor(Blue).value();
    g.ButtonTextColor = TSchemeColor::fromColor(Yellow).value();
    return g;
}

} // namespace

class SchemeControlsTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void glowButtonPaintsBothGradients();
    void glowButtonFollowsTheDesktop();
    void glowButtonBoldOnAndOff();
    void washLabelAndPanel();
    void washBehindAForeignWidget();
    void toolBarAndMenuGradients();
    void tabRowsAndPages();
    void sharedStyleChangesEveryWidgetUsingIt();
    void helpersColourGroups();
    void followerRunsAgainOnDesktopChange();

private:
    QPalette desktop_;
};

void SchemeControlsTest::init()
{
    desktop_ = QApplication::palette();
}

void SchemeControlsTest::cleanup()
{
    QApplication::setPalette(desktop_);
}

void SchemeControlsTest::glowButtonPaintsBothGradients()
{
    TGlowButton button;
    button.resize(80, 40);
    button.setGradient(Red, Blue);
    button.setMirrorGradient(Green, Yellow);
    const QImage image = shot(button);
    QVERIFY(nearer(image, {40, 2}, Red, Blue));
    QVERIFY(nearer(image, {40, 18}, Blue, Red));
    QVERIFY(nearer(image, {40, 22}, Green, Yellow));
    QVERIFY(nearer(image, {40, 37}, Yellow, Green));
    QCOMPARE(button.gradientFrom(), Red);
    QCOMPARE(button.mirrorTo(), Yellow);
}

void SchemeControlsTest::glowButtonFollowsTheDesktop()
{
    TGlowButton button;
    button.resize(80, 40);
    button.setGradient(SystemWindow, SystemWindow);
    button.setMirrorGradient(SystemWindow, SystemWindow);
    QPalette desktop = QApplication::palette();
    desktop.setColor(QPalette::Base, QColor(10, 120, 10));
    QApplication::setPalette(desktop);
    QCOMPARE(shot(button).pixelColor(40, 10), QColor(10, 120, 10));
    desktop.setColor(QPalette::Base, QColor(120, 10, 120));
    QApplication::setPalette(desktop);
    QCOMPARE(shot(button).pixelColor(40, 30), QColor(120, 10, 120));
    QCOMPARE(button.upperWash()->from, SystemWindow);
}

void SchemeControlsTest::glowButtonBoldOnAndOff()
{
    QWidget parent;
    QFont bold = parent.font();
    bold.setBold(true);
    parent.setFont(bold);
    auto *button = new TGlowButton(&parent);
    TGlobals g = loudScheme();
    g.BoldText = false;
    ApplyScheme::applyButtonColors(button, g);
    QVERIFY(!button->font().bold()); // even under a bold window
    g.BoldText = true;
    ApplyScheme::applyButtonColors(button, g);
    QVERIFY(button->font().bold());
    QCOMPARE(button->gradientFrom(), Green);
    QCOMPARE(button->gradientTo(), Blue);
    QCOMPARE(button->mirrorFrom(), Green);
    QCOMPARE(button->mirrorTo(), Blue);
    QCOMPARE(button->fontColor(), Yellow);
}

void SchemeControlsTest::washLabelAndPanel()
{
    TWashLabel label(QStringLiteral(" "));
    label.resize(100, 40);
    label.setWash({scheme(Red), scheme(Blue), false});
    label.setFontColor(scheme(Green));
    QImage image = shot(label);
    QVERIFY(nearer(image, {50, 1}, Red, Blue));
    QVERIFY(nearer(image, {50, 38}, Blue, Red));
    QCOMPARE(label.palette().color(QPalette::WindowText), Green);

    TWashPanel panel;
    panel.resize(100, 80);
    panel.setWash({scheme(Red), scheme(Blue), true});
    image = shot(panel);
    QVERIFY(nearer(image, {50, 1}, Red, Blue));
    QVERIFY(nearer(image, {50, 40}, Blue, Red));
    QVERIFY(nearer(image, {50, 78}, Red, Blue));

    // A font colour taken from the desktop follows it.
    label.setFontColor(TSchemeColor(-16777208));
    QPalette desktop = QApplication::palette();
    desktop.setColor(QPalette::Text, QColor(1, 2, 3));
    QApplication::setPalette(desktop);
    QCOMPARE(label.palette().color(QPalette::WindowText), QColor(1, 2, 3));
}

void SchemeControlsTest::washBehindAForeignWidget()
{
    QWidget page;
    page.resize(100, 100);
    auto *layout = new QVBoxLayout(&page);
    layout->addWidget(new QLabel(QStringLiteral("caption")));
    TWashBackground *wash = TWashBackground::attach(&page, {scheme(Green), scheme(Yellow), true});
    QCOMPARE(TWashBackground::attach(&page, {scheme(Red), scheme(Blue), true}), wash);
    QCOMPARE(TWashBackground::of(&page)->wash().from, scheme(Red));
    const QImage image = shot(page);
    QVERIFY(nearer(image, {2, 2}, Red, Blue));
    QVERIFY(nearer(image, {2, 50}, Blue, Red));
    QVERIFY(nearer(image, {2, 97}, Red, Blue));
}

void SchemeControlsTest::toolBarAndMenuGradients()
{
    TSchemeStyle bars(TSchemeStyle::ToolBars);
    bars.setGradient(scheme(Red), scheme(Blue));
    bars.setTextColor(scheme(Green));
    QWidget window;
    auto *toolBar = new QToolBar(&window);
    toolBar->addAction(QStringLiteral("x"));
    toolBar->resize(300, 40);
    ApplyScheme::useStyle(toolBar, &bars);
    QImage image = shot(*toolBar);
    QVERIFY(nearer(image, {250, 1}, Red, Blue));
    QVERIFY(nearer(image, {250, 38}, Blue, Red));
    QCOMPARE(toolBar->palette().color(QPalette::ButtonText), Green);

    TSchemeStyle menus(TSchemeStyle::Menus);
    menus.setGradient(scheme(Green), scheme(Yellow));
    menus.setTextColor(scheme(Red));
    QMenuBar bar;
    QMenu *file = bar.addMenu(QStringLiteral("File"));
    file->addAction(QStringLiteral("Open"));
    QMenu *recent = file->addMenu(QStringLiteral("Recent"));
    bar.resize(300, bar.sizeHint().height());
    ApplyScheme::useStyle(&bar, &menus);
    image = shot(bar);
    const int bottom = bar.height() - 2;
    QVERIFY(nearer(image, {250, 1}, Green, Yellow));
    QVERIFY(nearer(image, {250, bottom}, Yellow, Green));
    // Behind an item the gradient goes on: the running style would fill it plain.
    QVERIFY(nearer(image, {3, bottom}, Yellow, Green));
    // The items stay on top of the gradient, in the text colour.
    QVERIFY(hasPixelNear(image, bar.actionGeometry(file->menuAction()), Red));
    QCOMPARE(file->style(), &menus);
    QCOMPARE(recent->style(), &menus);
    file->adjustSize();
    QCOMPARE(shot(*file).pixelColor(file->width() - 4, file->height() / 2), Green);
}

void SchemeControlsTest::tabRowsAndPages()
{
    TSchemeStyle style(TSchemeStyle::SidePanel);
    style.setGradient(scheme(Red), scheme(Blue));
    style.setBorderColor(scheme(Green));
    style.setTextColor(scheme(Yellow));
    QTabWidget panel;
    panel.addTab(new QWidget, QStringLiteral("One"));
    panel.addTab(new QWidget, QStringLiteral("Two"));
    panel.resize(400, 300);
    ApplyScheme::useStyle(&panel, &style);
    QTabBar *bar = panel.findChild<QTabBar *>();
    QCOMPARE(bar->style(), &style);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    const QImage image = shot(panel);
    // The tab row beyond the last tab, then the page: upper half, middle, mirrored lower half.
    const QRect tabs = bar->geometry();
    QVERIFY(nearer(image, {390, tabs.top() + 1}, Red, Blue));
    QVERIFY(nearer(image, {390, tabs.bottom() - 3}, Blue, Red));
    const int pageTop = tabs.bottom() + 3;
    const int pageMiddle = (pageTop + 300) / 2;
    QVERIFY(nearer(image, {200, pageTop}, Red, Blue));
    QVERIFY(nearer(image, {200, pageMiddle}, Blue, Red));
    QVERIFY(nearer(image, {200, 296}, Red, Blue));
    // The chosen tab: its own gradient inside a border of the border colour.
    const QRect chosen = bar->tabRect(bar->currentIndex()).translated(tabs.topLeft());
    QVERIFY(nearer(image, {chosen.center().x(), chosen.top() + 2}, Red, Blue));
    QCOMPARE(image.pixelColor(chosen.left(), chosen.center().y()), Green);
}

void SchemeControlsTest::sharedStyleChangesEveryWidgetUsingIt()
{
    TSchemeStyle *shared = TSchemeStyle::shared(TSchemeStyle::ToolBars);
    QCOMPARE(TSchemeStyle::shared(TSchemeStyle::ToolBars), shared);
    QToolBar first;
    QToolBar second;
    for (QToolBar *bar : {&first, &second}) {
        bar->resize(200, 40);
        ApplyScheme::useStyle(bar, shared);
    }
    shared->setGradient(scheme(Red), scheme(Red));
    shared->setTextColor(scheme(Blue));
    QCOMPARE(shot(second).pixelColor(150, 20), Red);
    shared->setGradient(scheme(Green), scheme(Green));
    shared->setTextColor(scheme(Yellow));
    QCOMPARE(shot(first).pixelColor(150, 20), Green);
    QCOMPARE(shot(second).pixelColor(150, 20), Green);
    QCOMPARE(second.palette().color(QPalette::WindowText), Yellow);
}

void SchemeControlsTest::helpersColourGroups()
{
    const TGlobals g = [] {
        TGlobals loud = loudScheme();
        loud.BoldText = true;
        return loud;
    }();
    QWidget dialog;
    auto *panel = new TWashPanel(&dialog);
    auto *label = new TWashLabel(QStringLiteral("caption"), panel);
    auto *button = new TGlowButton(panel);
    auto *list = new QListWidget(&dialog);
    auto *entry = new QLineEdit(&dialog);

    ApplyScheme::applySelectColors(&dialog, g);
    ApplyScheme::applyListColors(list, g);
    ApplyScheme::applyEntryColors(entry, g);
    QCOMPARE(dialog.palette().color(QPalette::Window), Red);
    QCOMPARE(dialog.palette().color(QPalette::WindowText), Yellow);
    QVERIFY(dialog.autoFillBackground());
    for (const TWash &wash : {panel->wash(), label->wash()})
        QCOMPARE(wash, (TWash{scheme(Red), scheme(Blue), false}));
    QCOMPARE(panel->fontColor(), scheme(Yellow));
    QCOMPARE(label->fontColor(), scheme(Yellow));
    QCOMPARE(button->gradientFrom(), Green);
    QVERIFY(button->font().bold());
    QCOMPARE(list->palette().color(QPalette::Base), Yellow);
    QCOMPARE(list->palette().color(QPalette::Text), Blue);
    QVERIFY(list->font().bold());
    QCOMPARE(entry->palette().color(QPalette::Base), Green);
    QCOMPARE(entry->palette().color(QPalette::Text), Red);
    // A disabled list keeps the disabled shade of its text.
    QVERIFY(list->palette().color(QPalette::Disabled, QPalette::Text) != Blue);

    ApplyScheme::applyTipsColors(&dialog, g);
    QCOMPARE(dialog.palette().color(QPalette::Window), Green);
    QCOMPARE(panel->wash(), (TWash{scheme(Green), scheme(Yellow), false}));
    QCOMPARE(label->fontColor(), scheme(Red));
}

void SchemeControlsTest::followerRunsAgainOnDesktopChange()
{
    QWidget window;
    int runs = 0;
    TSchemeFollower::follow(&window, [&runs] { ++runs; });
    TSchemeFollower::follow(&window, [&runs] { runs += 10; }); // replaces, does not add
    QCOMPARE(window.findChildren<TSchemeFollower *>().size(), 1);
    QPalette desktop = QApplication::palette();
    desktop.setColor(QPalette::Base, QColor(3, 2, 1));
    QApplication::setPalette(desktop);
    QCOMPARE(runs, 10);
}

QTEST_MAIN(SchemeControlsTest)
#include "SchemeControlsTest.moc"
