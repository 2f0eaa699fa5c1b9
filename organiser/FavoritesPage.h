#pragma once

#include <QWidget>

class QAbstractItemView;
class QLabel;

// The "Favorites" page of the side panel: the user's folder of internet shortcuts.
class TFavoritesPage : public QWidget
{
    Q_OBJECT
public:
    explicit TFavoritesPage(QWidget *parent = nullptr);

    void setFavoritesFolder(const QString &path);
    void setGridLines(bool on);
    void clearLabel();
    // The main tool bar's Add to Favorites: the shared current page as a shortcut.
    void AddToFavorites();

    QAbstractItemView *listView() const;
    QLabel *label() const;

private:
    QAbstractItemView *view_ = nullptr;
    QLabel *label_ = nullptr;
};
