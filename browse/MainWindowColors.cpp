#include "app/ProgramData.h"
#include "browse/ChildWindow.h"
#include "browse/MainWindow.h"
#include "controls/ApplyScheme.h"
#include "controls/SchemeStyle.h"
#include "controls/WindowTabBar.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeWidget>

using namespace ApplyScheme;

// The frame's own parts; the pages, the button bar and the dialogs colour themselves on the same
// settingsChanged.
void TQuillmere1::ApplyColors()
{
    const TGlobals &g = data_.globals();
    const TSchemeColor mainBack(g.MainBackColor);
    const TSchemeColor mainEnd(g.MainEndColor);
    const TSchemeColor mainText(g.MainTextColor);
    const TSchemeColor barBack(g.ToolbarBackColor);
    const TSchemeColor barEnd(g.ToolbarEndColor);
    const TSchemeColor buttonText(g.ButtonTextColor);

    // The window; its frame area behind the browser windows is the window's background too.
    setBackground(this, mainBack);
    mdiArea_->setBackground(mainBack.resolve());
    setFontColor(this, buttonText);
    setBold(this, g.BoldText);

    TSchemeStyle *bars = TSchemeStyle::shared(TSchemeStyle::ToolBars);
    bars->setGradient(barBack, barEnd);
    bars->setTextColor(buttonText);
    useStyle(mainToolBar_, bars);
    // The window tab bar stands in a dock of its own: the tab row's surroundings.
    setWash(windowTabBar_, TWash{barBack, barEnd, false});

    TSchemeStyle *menus = TSchemeStyle::shared(TSchemeStyle::Menus);
    menus->setGradient(barBack, barEnd);
    menus->setTextColor(TSchemeColor(g.ToolbarTextColor));
    useStyle(menuBar(), menus);

    TSchemeStyle *tabs = TSchemeStyle::shared(TSchemeStyle::WindowTabs);
    tabs->setGradient(mainBack, mainEnd);
    tabs->setBorderColor(mainBack);
    tabs->setTextColor(mainText);
    useStyle(windowTabBar_->tabBar(), tabs);

    TSchemeStyle *panel = TSchemeStyle::shared(TSchemeStyle::SidePanel);
    panel->setGradient(mainBack, mainEnd);
    panel->setTextColor(mainText);
    panel->setBorderColor(mainBack);
    useStyle(sidePanel_, panel);
    for (int i = 0; i < sidePanel_->count(); ++i)
        setWash(sidePanel_->widget(i), TWash{mainBack, mainEnd, true});

    applyListColors(CMBADDR, g);
    applyListColors(TreeView1, g);
    setBackground(pictureView_, mainBack);
    applyButtonColors(toolButtons_, g);
    // The open browser windows take the scheme now, not at their next activation.
    for (TChildWin1 *child : browserWindows())
        child->ApplyWindowColors();
}
