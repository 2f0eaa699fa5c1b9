#pragma once

#include "lists/ListEdits.h"
#include "shell/DialogForm.h"

#include <memory>

class Ask;
class ProgramData;
class QLineEdit;
class QTreeView;

namespace Ui {
class TListMain1;
}

// "Create and Maintain Web Page Lists": a record browser over the lists. It edits its own copy
// and, when closed after a Save or Delete, writes the list file and has the Lists page reloaded.
class TListMain1 : public TDialogForm
{
    Q_OBJECT
public:
    TListMain1(ProgramData &data, Ask &ask, QWidget *parent = nullptr);
    ~TListMain1() override;

    void InitColors();
    void LoadDialogLists();
    void ShowSelectedList();
    void ShowPosition();
    int FindListRecord(const QString &name) const;
    int DialogIconIndex(const QString &fileName);
    // False when a file could not be written; the user has been told and the edits are kept.
    bool WriteListFile();

    void TreeView1Click();
    void TFirstBtnClick();
    void TPeviousBtnClick();
    void TNextBtnClick();
    void TLastBtnClick();
    void TAddBtnClick();
    void TDeleteBtnClick();
    void TSaveBtnClick();
    void TCancelBtnClick();
    void TFindBtnClick();
    void THelpBtnClick();
    void Text3DblClick();
    void Cut1Click();
    void Copy1Click();
    void Paste1Click();
    // The find-list window's OK: selects the first list whose node text starts with the letters
    // (A-Z folded), running on into the description; the fields wait for a click on it.
    void FindList(const QString &letters);
    // Writes what was saved or deleted; the program calls it at shutdown too, so quitting with
    // the dialog open loses no Save or Delete.
    void FormClose();

    bool ListsEdited() const { return listsEdited_; }
    const TListEdits &edits() const { return edits_; }
    QTreeView *treeView() const;

signals:
    // The Find button: the find-list window, which the main window owns.
    void findRequested();

protected:
    void FormShow() override;
    void done(int result) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createEditMenu();
    void connectButtons();
    int selectedRow() const;
    void selectRow(int row);
    QLineEdit *focusedField() const;

    ProgramData &data_;
    Ask &ask_;
    std::unique_ptr<Ui::TListMain1> ui_;
    TListEdits edits_;
    bool listsEdited_ = false;
    QString SavedName;
    QString SavedDescription;
    QString SavedIconFile;
};
