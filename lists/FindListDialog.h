#pragma once

#include "shell/DialogForm.h"

#include <memory>

class ProgramData;
class QAbstractItemView;

namespace Ui {
class TFindList1;
}

// "Find Lists": selects the first list of the maintenance dialog's tree whose text starts with
// the letters typed, leaving that dialog's fields as they are until the list is clicked.
class TFindList1 : public TDialogForm
{
    Q_OBJECT
public:
    // tree: the maintenance dialog's tree, which outlives this window.
    TFindList1(ProgramData &data, QAbstractItemView &tree, QWidget *parent = nullptr);
    ~TFindList1() override;

    void InitColors();
    void OKBtn1Click();
    void CancelBtnClick();
    void HelpBtnClick();

protected:
    void FormShow() override;

private:
    ProgramData &data_;
    QAbstractItemView &tree_;
    std::unique_ptr<Ui::TFindList1> ui_;
};
