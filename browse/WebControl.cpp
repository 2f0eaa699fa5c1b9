#include "browse/WebControl.h"

#include "app/Ask.h"
#include "app/Globals.h"
#include "app/Navigation.h"
#include "browse/BrowserProfile.h"
#include "browse/PopupPolicy.h"

#include <QAuthenticator>
#include <QBoxLayout>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEngineCertificateError>
#include <QWebEngineDownloadRequest>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineHistory>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

namespace {

const QString kCaption = QStringLiteral("Quillmere");

QString featureName(QWebEnginePage::Feature feature)
{
    switch (feature) {
    case QWebEnginePage::Geolocation:
        return QStringLiteral("your location");
    case QWebEnginePage::MediaAudioCapture:
        return QStringLiteral("your microphone");
    case QWebEnginePage::MediaVideoCapture:
        return QStringLiteral("your camera");
    case QWebEnginePage::MediaAudioVideoCapture:
        return QStringLiteral("your camera and microphone");
    case QWebEnginePage::Notifications:
        return QStringLiteral("notifications");
    case QWebEnginePage::DesktopVideoCapture:
    case QWebEnginePage::DesktopAudioVideoCapture:
        return QStringLiteral("your screen");
    case QWebEnginePage::MouseLock:
        return QStringLiteral("the mouse pointer");
    }
    return QStringLiteral("a feature of your computer");
}

// A page opened by window.open or a link with a target: its first address goes to OpenPage,
// then it goes away.
class TNewWindowPage : public QWebEnginePage
{
public:
    TNewWindowPage(QWebEngineProfile *profile, QObject *parent) : QWebEnginePage(profile, parent)
    {
        connect(this, &QWebEnginePage::urlChanged, this, [this](const QUrl &url) {
            if (handed_ || url.isEmpty())
                return;
            handed_ = true;
            OpenPage(url.toString());
            deleteLater();
        });
    }

private:
    bool handed_ = false;
};

} // namespace

TWebPage::TWebPage(QWebEngineProfile *profile, QObject *parent) : QWebEnginePage(profile, parent)
{
    connect(this, &QWebEnginePage::certificateError, this, &TWebPage::askCertificate);
    connect(this, &QWebEnginePage::authenticationRequired, this, &TWebPage::askLogin);
    connect(this, &QWebEnginePage::featurePermissionRequested, this, &TWebPage::askPermission);
    connect(this, &QWebEnginePage::newWindowRequested, this, &TWebPage::screenNewWindow);
}

void TWebPage::screenNewWindow(QWebEngineNewWindowRequest &request)
{
    const QString host = url().host();
    if (request.isUserInitiated() || PopupPolicy::allowed(host)) {
        request.openIn(new TNewWindowPage(profile(), parent()));
        return;
    }
    // Left unhandled, the request falls through to createWindow, which refuses it.
    emit popupBlocked(host);
}

QWebEnginePage *TWebPage::createWindow(WebWindowType)
{
    return nullptr;
}

void TWebPage::askCertificate(const QWebEngineCertificateError &error)
{
    QWebEngineCertificateError pending = error;
    if (!pending.isOverridable()) {
        pending.rejectCertificate();
        return;
    }
    pending.defer();
    QPointer<TWebPage> self(this);
    const auto answer = QMessageBox::warning(
        QWebEngineView::forPage(this), kCaption,
        QStringLiteral("The certificate of %1 is not trusted:\n%2\n\nGo on to this site anyway?")
            .arg(pending.url().host(), pending.description()),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (!self)
        return;
    if (answer == QMessageBox::Yes)
        pending.acceptCertificate();
    else
        pending.rejectCertificate();
}

void TWebPage::askLogin(const QUrl &url, QAuthenticator *authenticator)
{
    QDialog dialog(QWebEngineView::forPage(this));
    dialog.setWindowTitle(kCaption);
    auto *form = new QFormLayout(&dialog);
    form->addRow(new QLabel(QStringLiteral("%1 asks you to log in (%2).")
                                .arg(url.host(), authenticator->realm().toHtmlEscaped())));
    auto *user = new QLineEdit(&dialog);
    auto *password = new QLineEdit(&dialog);
    password->setEchoMode(QLineEdit::Password);
    form->addRow(QStringLiteral("User name:"), user);
    form->addRow(QStringLiteral("Password:"), password);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() == QDialog::Accepted) {
        authenticator->setUser(user->text());
        authenticator->setPassword(password->text());
    } else {
        *authenticator = QAuthenticator();
    }
}

void TWebPage::askPermission(const QUrl &origin, Feature feature)
{
    auto *box = new QMessageBox(
        QMessageBox::Question, kCaption,
        QStringLiteral("Allow %1 to use %2?")
            .arg(origin.host().isEmpty() ? origin.toString() : origin.host(), featureName(feature)),
        QMessageBox::Yes | QMessageBox::No, QWebEngineView::forPage(this));
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QMessageBox::finished, this, [this, origin, feature](int result) {
        setFeaturePermission(origin, feature,
                             result == QMessageBox::Yes ? PermissionGrantedByUser
                                                        : PermissionDeniedByUser);
    });
    box->open();
}

TWebControl::TWebControl(Ask &ask, QWidget *parent) : QWebEngineView(parent), ask_(ask)
{
    setPage(new TWebPage(browserProfile(), this));
    page()->settings()->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, true);
    crashNotice_ = new QLabel(this);
    crashNotice_->setAlignment(Qt::AlignCenter);
    crashNotice_->setWordWrap(true);
    crashNotice_->setAutoFillBackground(true);
    crashNotice_->setText(QStringLiteral(
        "<h3>This page stopped working.</h3><p>Press Refresh to load it again.</p>"));
    crashNotice_->hide();

    connect(this, &QWebEngineView::loadStarted, this, &TWebControl::onLoadStarted);
    connect(this, &QWebEngineView::loadFinished, this, &TWebControl::onLoadFinished);
    connect(this, &QWebEngineView::loadProgress, this, &TWebControl::progressChanged);
    connect(this, &QWebEngineView::urlChanged, this, &TWebControl::onUrlChanged);
    connect(this, &QWebEngineView::titleChanged, this, [this] { emit TitleChange(); });
    connect(page(), &QWebEnginePage::renderProcessTerminated, this,
            &TWebControl::onRenderProcessTerminated);
    connect(page(), &QWebEnginePage::fullScreenRequested, this, &TWebControl::onFullScreen);
    connect(this, &QWebEngineView::printFinished, this, [this] { printer_.reset(); });
    connect(static_cast<TWebPage *>(page()), &TWebPage::popupBlocked, this,
            &TWebControl::popupBlocked);
}

TWebControl::~TWebControl() = default;

QUrl TWebControl::addressToUrl(const QString &address)
{
    const QString trimmed = address.trimmed();
    if (!trimmed.isEmpty() && QFileInfo(trimmed).isAbsolute() && QFileInfo::exists(trimmed))
        return QUrl::fromLocalFile(trimmed);
    const QUrl url = QUrl::fromUserInput(trimmed);
    // A typed or stored script would run in whatever page the window holds.
    if (url.scheme().compare(u"javascript", Qt::CaseInsensitive) == 0)
        return QUrl(QStringLiteral("about:blank"));
    return url;
}

void TWebControl::Navigate(const QString &address)
{
    crashNotice_->hide();
    const QUrl target = addressToUrl(address);
    // A jump to another part of the page shown loads nothing, so no load will clear the flag.
    loadRequested_ =
        target.adjusted(QUrl::RemoveFragment) != url().adjusted(QUrl::RemoveFragment) ||
        !target.hasFragment();
    setUrl(target);
}

void TWebControl::GoBack()
{
    if (history()->canGoBack())
        back();
}

void TWebControl::GoForward()
{
    if (history()->canGoForward())
        forward();
}

void TWebControl::GoHome()
{
    Navigate(Globals.HomePage);
}

void TWebControl::GoSearch()
{
    Navigate(Globals.SearchPage);
}

QString TWebControl::LocationName() const
{
    // A page without a title shows its address, as the lists expect. The engine stands in a
    // file's name or the address without its scheme for a missing title.
    const QString title = page()->title();
    const QUrl address = url();
    const bool standIn = title.isEmpty() || title == address.toString() ||
                         title == address.toString(QUrl::RemoveScheme).mid(2) ||
                         (address.isLocalFile() && title == address.fileName());
    return standIn ? address.toString() : title;
}

QString TWebControl::LocationURL() const
{
    return url().toString();
}

QString TWebControl::ExecWB(WebCommand command, const QString &proposedSavePath)
{
    switch (command) {
    case WebCommand::SaveAs:
        return saveAs(proposedSavePath);
    case WebCommand::Print:
        print();
        break;
    case WebCommand::Properties:
        showProperties();
        break;
    case WebCommand::Cut:
        triggerPageAction(QWebEnginePage::Cut);
        break;
    case WebCommand::Copy:
        triggerPageAction(QWebEnginePage::Copy);
        break;
    case WebCommand::Paste:
        triggerPageAction(QWebEnginePage::Paste);
        break;
    case WebCommand::Stop:
        stop();
        break;
    }
    return {};
}

void TWebControl::onLoadStarted()
{
    loadRequested_ = false;
    loading_ = true;
    crashed_ = false;
    crashNotice_->hide();
}

QString TWebControl::reloadAddress() const
{
    return crashed_ && !lastLoadedUrl_.isEmpty() ? lastLoadedUrl_.toString() : LocationURL();
}

void TWebControl::onLoadFinished(bool ok)
{
    if (ok)
        lastLoadedUrl_ = url();
    loading_ = false;
    loadRequested_ = false;
    reportCompleted(true);
}

void TWebControl::onUrlChanged(const QUrl &)
{
    // A jump inside the same document (an anchor, the history API) loads nothing; it is a
    // completed navigation all the same once no real load has started meanwhile.
    if (loading_ || loadRequested_)
        return;
    QTimer::singleShot(0, this, [this] {
        if (!loading_ && !loadRequested_ && url() != lastCompletedUrl_ &&
            !lastCompletedUrl_.isEmpty())
            reportCompleted(false);
    });
}

void TWebControl::reportCompleted(bool document)
{
    lastCompletedUrl_ = url();
    emit NavigateComplete2();
    if (document)
        emit DocumentComplete();
}

void TWebControl::resizeEvent(QResizeEvent *event)
{
    QWebEngineView::resizeEvent(event);
    crashNotice_->setGeometry(rect());
}

void TWebControl::onRenderProcessTerminated(QWebEnginePage::RenderProcessTerminationStatus status)
{
    if (status == QWebEnginePage::NormalTerminationStatus)
        return;
    loading_ = false;
    crashed_ = true;
    crashNotice_->setGeometry(rect());
    crashNotice_->show();
    crashNotice_->raise();
}

void TWebControl::onFullScreen(QWebEngineFullScreenRequest request)
{
    // The view itself leaves its window for the whole screen and comes back to its place.
    if (request.toggleOn()) {
        auto *host =
            parentWidget() ? qobject_cast<QBoxLayout *>(parentWidget()->layout()) : nullptr;
        if (!host || fullScreenHost_)
            return request.reject();
        fullScreenHost_ = parentWidget();
        fullScreenIndex_ = host->indexOf(this);
        request.accept();
        setParent(nullptr);
        showFullScreen();
        return;
    }
    request.accept();
    if (!fullScreenHost_)
        return;
    auto *host = qobject_cast<QBoxLayout *>(fullScreenHost_->layout());
    showNormal();
    if (host)
        host->insertWidget(fullScreenIndex_, this, 1);
    else
        setParent(fullScreenHost_);
    show();
    fullScreenHost_ = nullptr;
}

void TWebControl::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && fullScreenHost_) {
        page()->triggerAction(QWebEnginePage::ExitFullScreen);
        return;
    }
    QWebEngineView::keyPressEvent(event);
}

QString TWebControl::saveAs(const QString &proposedPath)
{
    const QString htmlOnly = QStringLiteral("Web Page, HTML only (*.htm *.html)");
    const QString complete = QStringLiteral("Web Page, complete (*.htm *.html)");
    const QString archive = QStringLiteral("Web Archive, single file (*.mht *.mhtml)");
    QString chosenFilter = htmlOnly;
    const QString path = ask_.saveFile(QStringLiteral("Save Web Page"), proposedPath,
                                       QStringList{htmlOnly, complete, archive}, &chosenFilter);
    if (path.isEmpty())
        return {};
    const QFileInfo folder(QFileInfo(path).absolutePath());
    if (!folder.isDir() || !folder.isWritable()) {
        emit saveFailed(path, QStringLiteral("The folder %1 cannot be written to.")
                                  .arg(QDir::toNativeSeparators(folder.filePath())));
        return {};
    }
    const QString suffix = QFileInfo(path).suffix().toLower();
    QWebEngineDownloadRequest::SavePageFormat format =
        QWebEngineDownloadRequest::SingleHtmlSaveFormat;
    if (suffix == u"mht" || suffix == u"mhtml")
        format = QWebEngineDownloadRequest::MimeHtmlSaveFormat;
    else if (chosenFilter == complete)
        format = QWebEngineDownloadRequest::CompleteHtmlSaveFormat;
    followSave(path);
    page()->save(path, format);
    return path;
}

void TWebControl::followSave(const QString &path)
{
    // The engine writes the file in the background; the request for it comes back through
    // the profile, and only its end says whether the file is there.
    auto *watch = new QObject(this);
    connect(
        page()->profile(), &QWebEngineProfile::downloadRequested, watch,
        [this, watch, path](QWebEngineDownloadRequest *download) {
            if (!download->isSavePageDownload() || download->page() != page())
                return;
            connect(download, &QWebEngineDownloadRequest::stateChanged, watch,
                    [this, watch, path, download](QWebEngineDownloadRequest::DownloadState state) {
                        if (state == QWebEngineDownloadRequest::DownloadCompleted)
                            emit pageSaved(path);
                        else if (state == QWebEngineDownloadRequest::DownloadInterrupted ||
                                 state == QWebEngineDownloadRequest::DownloadCancelled)
                            emit saveFailed(path, download->interruptReasonString());
                        else
                            return;
                        watch->deleteLater();
                    });
            disconnect(page()->profile(), &QWebEngineProfile::downloadRequested, watch, nullptr);
        });
}

void TWebControl::print()
{
    // The printer must outlive the call: the page prints in the background.
    if (printer_)
        return;
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer_->setDocName(LocationName());
    QPrintDialog dialog(printer_.get(), this);
    dialog.setWindowTitle(QStringLiteral("Print Document"));
    if (dialog.exec() != QDialog::Accepted) {
        printer_.reset();
        return;
    }
    QWebEngineView::print(printer_.get());
}

void TWebControl::showProperties()
{
    const QString script =
        QStringLiteral("[document.contentType, document.documentElement ?"
                       " document.documentElement.outerHTML.length : 0, document.lastModified]");
    QPointer<TWebControl> self(this);
    page()->runJavaScript(script, [self](const QVariant &result) {
        if (!self)
            return;
        const QVariantList facts = result.toList();
        const QString type = facts.value(0).toString();
        const qlonglong size = facts.value(1).toLongLong();
        QMessageBox box(QMessageBox::Information, QStringLiteral("Properties"),
                        QStringLiteral("<b>%1</b>").arg(self->LocationName().toHtmlEscaped()),
                        QMessageBox::Ok, self);
        box.setInformativeText(
            QStringLiteral("Address: %1<br>Type: %2<br>Size: %3<br>Modified: %4")
                .arg(self->LocationURL().toHtmlEscaped(),
                     type.isEmpty() ? QStringLiteral("unknown") : type.toHtmlEscaped(),
                     QLocale().formattedDataSize(size), facts.value(2).toString()));
        box.exec();
    });
}
