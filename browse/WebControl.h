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

protected:
    QWebEnginePage *createWindow(WebWindowType type) override;

private:
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
    // Runs one of the commands; Save As returns the file saved to (empty when cancelled).
    QString ExecWB(WebCommand command, const QString &proposedSavePath = QString());
    QString LocationName() const;
    QString LocationURL() const;
    bool isLoading() const { return loading_; }

    // The address a text opens: local files as file addresses, the rest as a user typed it.
    static QUrl addressToUrl(const QString &address);

signals:
    void TitleChange();
    void NavigateComplete2();
    void DocumentComplete();
    void progressChanged(int percent);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void onLoadStarted();
    void onLoadFinished(bool ok);
    void onUrlChanged(const QUrl &url);
    void reportCompleted();
    void onRenderProcessTerminated(QWebEnginePage::RenderProcessTerminationStatus status);
    void onFullScreen(QWebEngineFullScreenRequest request);
    QString saveAs(const QString &proposedPath);
    void print();
    void showProperties();

    Ask &ask_;
    bool loading_ = false;
    QUrl lastCompletedUrl_;
    QLabel *crashNotice_ = nullptr;
    QPointer<QWidget> fullScreenHost_;
    int fullScreenIndex_ = 0;
    std::unique_ptr<QPrinter> printer_;
};
