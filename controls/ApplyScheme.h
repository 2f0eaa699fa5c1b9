#pragma once

#include "app/Globals.h"
#include "controls/Wash.h"

#include <QList>

class QWidget;
class TGlowButton;
class TSchemeStyle;

// Puts one colour group of the scheme on a widget, so that a window's colour routine is a few
// plain lines. Colours copied into palettes are resolved now; a window that wants them to follow
// the desktop while it stays open runs its routine again through TSchemeFollower.
namespace ApplyScheme {

// Background (the palette's window colour, filled in) and text of a window or panel.
void setBackground(QWidget *widget, TSchemeColor color);
void setFontColor(QWidget *widget, TSchemeColor color);
void setBold(QWidget *widget, bool bold);
// A wash painted behind a widget we do not draw ourselves.
void setWash(QWidget *widget, const TWash &wash);
// Shares one of the scheme styles with a widget (and its tab row or drop-down menus).
void useStyle(QWidget *widget, TSchemeStyle *style);

// Lists, trees and the address box: List colours, bold when BoldText is set.
void applyListColors(QWidget *view, const TGlobals &g);
// Entry fields: Entry colours, bold when BoldText is set.
void applyEntryColors(QWidget *entry, const TGlobals &g);
// A glow button: Button gradients above and below, Button text colour, bold when BoldText is set.
void applyButtonColors(TGlowButton *button, const TGlobals &g);
void applyButtonColors(const QList<TGlowButton *> &buttons, const TGlobals &g);
// A dialog: its background and text, and every wash panel and wash label on it, from the Select
// colours. Every glow button on it from the Button colours.
void applySelectColors(QWidget *window, const TGlobals &g);
// The quick tips window: the same as applySelectColors with the Tips colours.
void applyTipsColors(QWidget *window, const TGlobals &g);

} // namespace ApplyScheme
