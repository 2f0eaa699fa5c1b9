#pragma once

#include <QObject>

class QListWidget;
class QListWidgetItem;
class QWebEngineDownloadRequest;
class QWidget;

// Files a page offers for download: the user picks where each goes, and a small window shows
// how far each has come.
class TDownloads : public QObject
{
    Q_OBJECT
public:
    explicit TDownloads(QWidget *window);

private:
    void onDownloadRequested(QWebEngineDownloadRequest *download);
    void track(QWebEngineDownloadRequest *download);
    void showList();

    QWidget *window_;
    QWidget *listWindow_ = nullptr;
    QListWidget *list_ = nullptr;
};
