#pragma once

#include <QPointer>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <functional>
#include <memory>

class Ask;
class QLabel;
class QPrinter;
class QWebEngineFullScreenRequest;
class QWebEngineNewWindowRequest;
class QWebEngineProfile;

// Command numbers the browser window hands to ExecWB, as the old control numbered them.
enum class WebCommand {
    SaveAs = 4,
    Print = 6,
    Properties = 10,
    Cut = 11,
    Copy = 12,
    Paste = 13,
    Stop = 23,
};

// The page behind a browser window: what every browser asks the user (certificates, log-ins,
// permissions) and new windows, which open through OpenPage like every other page.
class TWebPage : public QWebEnginePage
{
    Q_OBJECT
public:
    TWebPage(QWebEngineProfile *profile, QObject *parent);

signals:
    // A script asked for a window without the user's click, and the site is not allowed to.
    void popupBlocked(const QString &host);

protected:
    QWebEnginePage *createWindow(WebWindowType type) override;

private:
    void screenNewWindow(QWebEngineNewWindowRequest &request);
    void askCertificate(const QWebEngineCertificateError &error);
    void askLogin(const QUrl &url, QAuthenticator *authenticator);
    void askPermission(const QUrl &origin, Feature feature);
};

// The web control a browser window uses: the operations and events the window relies on, over
// a QWebEngineView. Navigation complete is reported once the page's title is known.
class TWebControl : public QWebEngineView
{
    Q_OBJECT
public:
    explicit TWebControl(Ask &ask, QWidget *parent = nullptr);
    ~TWebControl() override;

    void Navigate(const QString &address);
    void GoBack();
    void GoForward();
    void GoHome();
    void GoSearch();
    // Runs one of the commands. Save As returns the file chosen (empty when cancelled); the
    // file is there only once pageSaved reports it.
    QString ExecWB(WebCommand command, const QString &proposedSavePath = QString());
    QString LocationName() const;
    QString LocationURL() const;
    bool isLoading() const { return loading_; }
    // What Refresh loads: the page shown, or after a crash the last page that loaded.
    QString reloadAddress() const;

    // The address a text opens: existing files as file addresses, the rest as a user typed
    // it, never relative to the program's working folder; scripts open a blank page.
    static QUrl addressToUrl(const QString &address);

signals:
    void TitleChange();
    // Once per completed navigation; a change of address inside the page reports this alone,
    // a loaded document is followed by DocumentComplete.
    void NavigateComplete2();
    void DocumentComplete();
    void progressChanged(int percent);
    void pageSaved(const QString &path);
    void saveFailed(const QString &path, const QString &reason);
    void popupBlocked(const QString &host);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void onLoadStarted();
    void onLoadFinished(bool ok);
    void onUrlChanged(const QUrl &url);
    void reportCompleted(bool document);
    void followSave(const QString &path);
    void onRenderProcessTerminated(QWebEnginePage::RenderProcessTerminationStatus status);
    void onFullScreen(QWebEngineFullScreenRequest request);
    QString saveAs(const QString &proposedPath);
    void print();
    void showProperties();

    Ask &ask_;
    bool loading_ = false;
    // Set from the moment the program asks for a page until the engine starts loading it, so
    // the address it shows at once is not taken for a change inside the old page.
    bool loadRequested_ = false;
    QUrl lastCompletedUrl_;
    QUrl lastLoadedUrl_;
    bool crashed_ = false;
    QLabel *crashNotice_ = nullptr;
    QPointer<QWidget> fullScreenHost_;
    int fullScreenIndex_ = 0;
    std::unique_ptr<QPrinter> printer_;
};
