#pragma once

#include "shell/DialogForm.h"

#include <QPointer>
#include <QStringList>
#include <memory>

class Ask;
class ProgramData;
class TListsPage;
class TPTShellList;

namespace Ui {
class TListAddURL1;
}

// "Add Web Pages to Web Page Play List": the pages of one list in a box that favorites are
// dragged into; Save makes the box the list's pages, closing writes the detail file.
class TListAddURL1 : public TDialogForm
{
    Q_OBJECT
public:
    TListAddURL1(ProgramData &data, Ask &ask, QWidget *parent = nullptr);
    ~TListAddURL1() override;

    // The side panel's favorites list (the one place drops come from) and the Lists page that
    // shows the chosen list.
    void setSidePanel(TPTShellList *favorites, TListsPage *listsPage);

    void InitColors();
    void LoadListChoices();
    void ListView1Click();
    bool ListBox1DragOver(const QObject *source) const;
    void ListBox1DragDrop(const QObject *source);
    void ListBox1KeyDown(int key);
    void OKBtn1Click();
    void CancelBtnClick();
    void HelpBtnClick();
    // Writes the detail file; ListsChanged is cleared only when that worked.
    void FormClose();

    QStringList entries() const;
    QString chosenList() const { return chosenList_; }
    bool boxChanged() const { return boxChanged_; }

protected:
    void FormShow() override;
    void done(int result) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void chooseList(const QString &name);
    void showInPanel(const QString &name);
    bool saveBox();
    bool listExists(const QString &name) const;
    bool inBox(const QString &address) const;
    void selectChosenItem();

    ProgramData &data_;
    Ask &ask_;
    std::unique_ptr<Ui::TListAddURL1> ui_;
    QPointer<TPTShellList> favorites_;
    QPointer<TListsPage> listsPage_;
    // Remembered by name: lists added or deleted elsewhere move the items of the view.
    QString chosenList_;
    bool boxChanged_ = false;
};
