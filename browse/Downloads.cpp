#include "browse/Downloads.h"

#include "browse/BrowserProfile.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QListWidget>
#include <QLocale>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>

TDownloads::TDownloads(QWidget *window) : QObject(window), window_(window)
{
    connect(browserProfile(), &QWebEngineProfile::downloadRequested, this,
            &TDownloads::onDownloadRequested);
}

void TDownloads::onDownloadRequested(QWebEngineDownloadRequest *download)
{
    // Saving a page was already given its place by the Save dialog.
    if (download->isSavePageDownload()) {
        download->accept();
        return;
    }
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    const QString proposed = QDir(folder).filePath(download->downloadFileName());
    const QString path =
        QFileDialog::getSaveFileName(window_, QStringLiteral("Save Download"), proposed);
    if (path.isEmpty()) {
        download->cancel();
        return;
    }
    download->setDownloadDirectory(QFileInfo(path).absolutePath());
    download->setDownloadFileName(QFileInfo(path).fileName());
    download->accept();
    track(download);
}

void TDownloads::track(QWebEngineDownloadRequest *download)
{
    showList();
    auto *item = new QListWidgetItem(download->downloadFileName(), list_);
    auto update = [download, item] {
        const qint64 total = download->totalBytes();
        const qint64 received = download->receivedBytes();
        QString state;
        switch (download->state()) {
        case QWebEngineDownloadRequest::DownloadCompleted:
            state = QStringLiteral("done");
            break;
        case QWebEngineDownloadRequest::DownloadCancelled:
            state = QStringLiteral("cancelled");
            break;
        case QWebEngineDownloadRequest::DownloadInterrupted:
            state = QStringLiteral("failed: ") + download->interruptReasonString();
            break;
        default:
            state = total > 0 ? QStringLiteral("%1%").arg(received * 100 / total)
                              : QLocale().formattedDataSize(received);
        }
        item->setText(QStringLiteral("%1 - %2").arg(download->downloadFileName(), state));
        item->setToolTip(
            QDir(download->downloadDirectory()).filePath(download->downloadFileName()));
    };
    connect(download, &QWebEngineDownloadRequest::receivedBytesChanged, list_, update);
    connect(download, &QWebEngineDownloadRequest::stateChanged, list_, update);
    update();
}

void TDownloads::showList()
{
    if (!listWindow_) {
        listWindow_ = new QWidget(window_, Qt::Tool);
        listWindow_->setWindowTitle(QStringLiteral("Downloads"));
        auto *layout = new QVBoxLayout(listWindow_);
        list_ = new QListWidget(listWindow_);
        layout->addWidget(list_);
        listWindow_->resize(420, 200);
    }
    listWindow_->show();
    listWindow_->raise();
}
