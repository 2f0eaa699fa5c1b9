#pragma once

#include <QIcon>
#include <QSortFilterProxyModel>
#include <QStringMatcher>

// What the History tree shows of the store's model: the pages whose text holds the typed
// words, under their days, with the pictures of the main window's image list.
// The source is the history store's item model: a day at the root, its pages below.
class THistoryFilter : public QSortFilterProxyModel
{
    Q_OBJECT
public:
    explicit THistoryFilter(QObject *parent = nullptr);

    // Shows only the pages whose text contains words, ignoring case; empty shows everything.
    // The model is reset: selection and expanded days are the view's to put back.
    void setWords(const QString &words);
    QString words() const { return words_; }

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;

    static QIcon pictureIcon(int picture, int selectedPicture);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    QString words_;
    QStringMatcher matcher_;
};
