#include "app/Logging.h"

Q_LOGGING_CATEGORY(lcBrowse, "quillmere.browse")
Q_LOGGING_CATEGORY(lcHistory, "quillmere.history")
Q_LOGGING_CATEGORY(lcLists, "quillmere.lists")
Q_LOGGING_CATEGORY(lcButtons, "quillmere.buttons")
Q_LOGGING_CATEGORY(lcFavorites, "quillmere.favorites")
Q_LOGGING_CATEGORY(lcOffline, "quillmere.offline")
Q_LOGGING_CATEGORY(lcMail, "quillmere.mail")
Q_LOGGING_CATEGORY(lcHelp, "quillmere.help")
Q_LOGGING_CATEGORY(lcShell, "quillmere.shell")
