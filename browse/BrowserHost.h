#pragma once

#include <QString>

class TChildWin1;
class WindowList;

// What a browser window needs of the frame around it. The main window provides it; a browser
// window never includes the main window's header.
class BrowserHost
{
public:
    virtual ~BrowserHost() = default;

    virtual WindowList &windowList() = 0;
    virtual int browserWindowCount() const = 0;
    virtual void setPageStatus(const QString &text) = 0;
    virtual void setPictureViewVisible(bool visible) = 0;
    // An entry at index left both lists: the windows after it move up one place.
    virtual void windowEntryRemoved(int index) = 0;
    virtual void showLoadProgress(TChildWin1 *window, int percent) = 0;
    virtual void recordVisit(const QString &locationName) = 0;
    virtual void collectPage(const QString &address) = 0;
    virtual void appendOfflineNode(const QString &title) = 0;
    virtual bool addressBoxHasFocus() const = 0;
    virtual void copyAddressBox() = 0;
    virtual void pasteAddressBox() = 0;
};
