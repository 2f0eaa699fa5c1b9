#pragma once

#include <QWidget>

class Ask;
class ProgramData;
class QAbstractItemView;
class QAction;
class QLabel;
class QToolButton;
class TPTShellList;

// The "Favorites" page of the side panel: the user's folder of internet shortcuts.
class TFavoritesPage : public QWidget
{
    Q_OBJECT
public:
    TFavoritesPage(ProgramData &data, Ask &ask, QWidget *parent = nullptr);

    void setFavoritesFolder(const QString &path);
    QString favoritesFolderPath() const { return favorites_; }
    void setGridLines(bool on);
    void clearLabel();
    void applyColors();
    // The main tool bar's Add to Favorites: the shared current page as a shortcut.
    void AddToFavorites();

    QAbstractItemView *listView() const;
    TPTShellList *shellList() const { return PTShellList1; }
    QLabel *label() const;
    // The folder the list shows, as the page names it ("Favorites/News").
    QLabel *folderLabel() const { return folderLabel_; }

signals:
    // Add to Favorites wants the side panel to show this page.
    void showRequested();

public slots:
    void FavHomeBtnClick();
    void FavUpBtnClick();
    void FavAddFldrBtnClick();
    void PTShellList1Click();
    void PTShellList1DblClickOpen(const QString &path, bool *handled);
    void PTShellList1DblClick();
    void importBookmarks();
    void exportBookmarks();

private:
    void showFolder();
    QToolButton *createButton(const QString &name, const QString &hint, const QString &icon,
                              int fallback);

    ProgramData &data_;
    Ask &ask_;
    QToolButton *FavUpBtn = nullptr;
    QToolButton *FavHomeBtn = nullptr;
    QToolButton *FavAddFldrBtn = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *folderLabel_ = nullptr;
    TPTShellList *PTShellList1 = nullptr;
    QAction *importAction_ = nullptr;
    QAction *exportAction_ = nullptr;
    QString favorites_;
};
