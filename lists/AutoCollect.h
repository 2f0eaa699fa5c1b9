#pragma once

#include "shell/DialogForm.h"

#include <QStringList>
#include <memory>

class Ask;
class ProgramData;

namespace Ui {
class TListAuto1;
}

// "Automatically Collect Web Sites for List": while it collects, every page that finishes
// loading in any browser window is noted once; stopping makes the notes the chosen list's pages.
class TListAuto1 : public TDialogForm
{
    Q_OBJECT
public:
    TListAuto1(ProgramData &data, Ask &ask, QWidget *parent = nullptr);
    ~TListAuto1() override;

    void InitColors();
    void LoadListChoices();
    void CMBLISTClick(int index);
    void OKBtn1Click();
    void CancelBtnClick();
    void HelpBtnClick();

    // Index of the collected address equal to lowerAddress without regard to ASCII case, or -1.
    int ChkListItem(const QString &lowerAddress) const;
    // A browser window's completed navigation.
    void CollectPage(const QString &address);
    // False when nothing was stored: no list chosen, nothing collected, or the list is gone
    // (the user is told and the collection kept).
    bool StoreCollected();
    // The program is ending: what was collected goes into the list and the detail file.
    void programEnding();

    bool collecting() const;
    QStringList collected() const { return ListBox1; }
    QString chosenList() const { return chosenList_; }

protected:
    void FormShow() override;

private:
    int listRow(const QString &name) const;
    void showState();

    ProgramData &data_;
    Ask &ask_;
    std::unique_ptr<Ui::TListAuto1> ui_;
    QStringList ListBox1;
    // Remembered by name, so that Stop never fills a list that moved into the chosen row.
    QString chosenList_;
};
