#pragma once

#include "shell/DialogForm.h"

#include <memory>

class Ask;
class ProgramData;

namespace Ui {
class TFindList1;
}

// "Find Lists": asks for the first list of the maintenance dialog whose text starts with the
// letters typed to be selected there; the main window connects the two.
class TFindList1 : public TDialogForm
{
    Q_OBJECT
public:
    TFindList1(ProgramData &data, Ask &ask, QWidget *parent = nullptr);
    ~TFindList1() override;

    void InitColors();
    void OKBtn1Click();
    void CancelBtnClick();
    void HelpBtnClick();

signals:
    // OK: the letters as typed.
    void findListRequested(const QString &letters);

protected:
    void FormShow() override;

private:
    ProgramData &data_;
    std::unique_ptr<Ui::TFindList1> ui_;
};
