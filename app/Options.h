#pragma once

#include "app/Globals.h"

#include <QString>
#include <optional>

// The main window's rectangle as Options.INI keeps it (height before width).
struct MainWindowRect
{
    qint32 WindowLeft = 0;
    qint32 WindowTop = 0;
    qint32 WindowHeight = 0;
    qint32 WindowWidth = 0;
    // Kept on a line after the 27 only while it is set, so an ordinary file keeps its 27 lines
    // and a reader that stops at line 27 never notices it.
    bool Maximized = false;
};

// Options.INI: 27 lines, one value each, no keys; a 28th "TRUE" for a maximised main window.
namespace Options {

void SetDefaultOptions(TGlobals &g);
// True when the file was read through line 27 without an error; false when it is missing or
// reading stopped (what was read before stays).
bool LoadOptions(const QString &path, TGlobals &g, MainWindowRect &rect);
// Writes atomically; a failure leaves the old file whole and is reported to no one but the
// caller.
std::optional<QString> SaveOptions(const QString &path, const TGlobals &g,
                                   const MainWindowRect &rect);

} // namespace Options
