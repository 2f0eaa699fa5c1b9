#pragma once

#include <QLoggingCategory>

// One category per subsystem, for what the program does not tell the user: a shortcut not
// written, options not saved. Enable with QT_LOGGING_RULES="quillmere.*.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcBrowse)
Q_DECLARE_LOGGING_CATEGORY(lcHistory)
Q_DECLARE_LOGGING_CATEGORY(lcLists)
Q_DECLARE_LOGGING_CATEGORY(lcButtons)
Q_DECLARE_LOGGING_CATEGORY(lcFavorites)
Q_DECLARE_LOGGING_CATEGORY(lcOffline)
Q_DECLARE_LOGGING_CATEGORY(lcMail)
Q_DECLARE_LOGGING_CATEGORY(lcHelp)
Q_DECLARE_LOGGING_CATEGORY(lcShell)
