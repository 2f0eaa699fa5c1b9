#include "app/ProgramData.h"
#include "browse/ChildWindow.h"
#include "controls/ApplyScheme.h"
#include "controls/SchemeStyle.h"

#include <QMenu>
#include <QToolBar>

void TChildWin1::ApplyWindowColors()
{
    const TGlobals &g = data_.globals();
    ApplyScheme::setBackground(this, TSchemeColor(g.MainBackColor));
    ApplyScheme::setFontColor(this, TSchemeColor(g.ButtonTextColor));
    // Colours, then bold when BoldText is set.
    ApplyScheme::applyButtonColors(toolButtons_, g);
    // The tool bar and the Edit menu share the main window's styles, whose colours ApplyColors
    // sets; they change with it.
    ApplyScheme::useStyle(toolBar_, TSchemeStyle::shared(TSchemeStyle::ToolBars));
    ApplyScheme::useStyle(editMenu_, TSchemeStyle::shared(TSchemeStyle::Menus));
}
