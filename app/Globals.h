#pragma once

#include <QString>
#include <QtGlobal>
#include <array>

// The one shared state object every part of the program reads and writes. Plain fields only.
struct TGlobals
{
    // Colour scheme: 32-bit values in the Windows form (RGB with red in the low byte, or a
    // system colour reference with the high byte 0xFF).
    qint32 MainBackColor = 0;
    qint32 MainEndColor = 0;
    qint32 MainTextColor = 0;
    qint32 ToolbarBackColor = 0;
    qint32 ToolbarEndColor = 0;
    qint32 ToolbarTextColor = 0;
    qint32 ListBackColor = 0;
    qint32 ListTextColor = 0;
    qint32 EntryBackColor = 0;
    qint32 EntryTextColor = 0;
    qint32 DisplayBackColor = 0;
    qint32 DisplayTextColor = 0;
    qint32 SelectBackColor = 0;
    qint32 SelectEndColor = 0;
    qint32 SelectTextColor = 0;
    qint32 TipsBackColor = 0;
    qint32 TipsEndColor = 0;
    qint32 TipsTextColor = 0;
    qint32 ButtonBackColor = 0;
    qint32 ButtonEndColor = 0;
    qint32 ButtonTextColor = 0;

    QString PendingUrl;
    QString PageTitle;
    QString HomePage;
    QString StartPage;
    QString AppDir;
    QString HelpTopic;
    QString CurrentUrl;
    QString CurrentTitle;
    QString SettingsPage;
    QString LastPage;
    QString SearchPage;
    QString MainPicture;
    bool NewWindowMode = false;
    bool HelpOpen = false;
    bool GridLines = false;
    bool BoldText = false;
    bool StartTips = false;
    bool MaximizeWindows = false;
    qint32 HelpLeft = 0;
    qint32 HelpTop = 0;
    qint32 HelpHeight = 0;
    qint32 HelpWidth = 0;
    QString CurrentList;
    bool ListsChanged = false;
    bool ListRunning = false;
    bool ListNavigation = false;
    bool AutoCollect = false;
    std::array<QString, 10> ToAddresses; // addresses 1 to 10 at indexes 0 to 9
    QString MailMode;
    QString FromAddress;
    bool HistoryChanged = false;
};

// Created when the program's units are initialised, before any window exists.
extern TGlobals Globals;

// Addresses the program starts with; the user changes them in the options.
namespace Defaults {
inline constexpr auto HomePage = "https://www.wikipedia.org/";
inline constexpr auto SearchPage = "https://duckduckgo.com/";
// The welcome page shipped in the program folder's Help folder.
inline constexpr auto WelcomePageFile = "Welcome.htm";
} // namespace Defaults
