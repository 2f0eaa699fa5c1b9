#pragma once

#include "app/Globals.h"
#include "app/Options.h"
#include "lists/ListStore.h"

#include <QFuture>
#include <QObject>
#include <QString>
#include <memory>
#include <optional>

class AddressBook;
class EMailLog;
class MailSession;
class PasswordStore;
class TButtonStore;
class THistoryStore;
class TOfflineStore;

// The working copy of the program folder: every store the windows show, the options and the
// colour scheme, loaded and saved here with errors returned. Windows are views of it: they
// take it in their constructors, read and change the stores, and follow its change signals.
class ProgramData : public QObject
{
    Q_OBJECT
public:
    ProgramData(TGlobals &globals, const QString &appDir, QObject *parent = nullptr);
    ~ProgramData() override;

    TGlobals &globals() const { return globals_; }
    QString appDir() const { return appDir_; }
    // A file or folder of the program folder, whatever the case of its name there.
    QString filePath(const QString &name) const;
    QString webPagesDir() const;

    THistoryStore &history() const { return *history_; }
    // Lists read at start-up are in the tree before anyone works with it.
    TListStore &lists();
    TButtonStore &buttons() const { return *buttons_; }
    TOfflineStore &offline() const { return *offline_; }
    // MailAddr.MLS; the address book window reads it at every showing and writes it at OK.
    AddressBook &addressBook() const { return *addressBook_; }
    // EMail.Log; the mail window reads it at every showing and writes it at closing.
    EMailLog &emailLog() const { return *emailLog_; }
    // The mail password for the run (and the desktop's secret store unless
    // QUILLMERE_NO_SECRET_STORE is set, as tests do).
    PasswordStore &passwords() const { return *passwords_; }
    // The connection to the user's mail account, kept on its own thread.
    MailSession &mailSession() const { return *mailSession_; }

    // The main window's rectangle as Options.INI keeps it.
    MainWindowRect &windowRect() { return rect_; }

    // Start-up: AppDir set and AppDir/WebPages made when missing.
    std::optional<QString> prepareFolder();
    // Options.INI; when it is missing or unreadable the options in force are written at once,
    // and that write's failure is what comes back.
    std::optional<QString> loadOptions();
    // Nothing is written before the options were read: the user's file would become defaults.
    std::optional<QString> saveOptions();
    bool loadColors();
    std::optional<QString> saveColors();
    std::optional<QString> loadLists();
    std::optional<QString> saveListDetails();
    std::optional<QString> loadHistory();
    std::optional<QString> saveHistory();
    void addTodayNode();
    // Start-up: History.Ini and the list files are read on worker threads while the first
    // pages load, and the trees then fill a batch at a time. historyLoaded and listsLoaded
    // tell the end; until then the stores finish the load themselves before anything reads,
    // changes or saves them.
    void beginLoadingHistory();
    void beginLoadingLists();
    bool loadingFiles() const;
    void loadButtons();
    void loadOffline();

    // A browser window's completed document, under that window's own title and address: the
    // shared current address belongs to whichever window reported last, and with several
    // pages loading at once it gave entries another window's address, or none at all.
    void RecordVisit(const QString &title, const QString &address);
    // A page saved into WebPages by a browser window.
    void addSavedPage(const QString &title);

    // Whoever changes a store or the settings outside the routines above says so here.
    void noteColorsChanged();
    void noteOptionsChanged();
    void noteListsChanged();
    void noteButtonsChanged();
    void noteHistoryChanged();

signals:
    void colorsChanged();
    void optionsChanged();
    void listsChanged();
    void buttonsChanged();
    void historyChanged();
    // Colours or options changed: every open window and dialog applies the scheme again.
    void settingsChanged();
    // A start-up load ended; error says why the file could not be read, empty when it could.
    void historyLoaded(const QString &error);
    void listsLoaded(const QString &error);

private:
    void fillHistory();
    void finishListsLoad();

    TGlobals &globals_;
    QString appDir_;
    MainWindowRect rect_;
    bool optionsLoaded_ = false;
    std::unique_ptr<THistoryStore> history_;
    std::unique_ptr<TListStore> lists_;
    std::unique_ptr<TButtonStore> buttons_;
    std::unique_ptr<TOfflineStore> offline_;
    std::unique_ptr<AddressBook> addressBook_;
    QFuture<TListStore::Files> listsReading_;
    bool listsLoading_ = false;
    std::unique_ptr<EMailLog> emailLog_;
    std::unique_ptr<PasswordStore> passwords_;
    std::unique_ptr<MailSession> mailSession_;
};
