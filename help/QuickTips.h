#pragma once

#include "help/TipTable.h"
#include "shell/DialogForm.h"

#include <memory>

class ProgramData;

namespace Ui {
class TQuikTips1;
}

// The quick tips window: one tip from TipHelp.Txt at a time, picked at random.
class TQuikTips1 : public TDialogForm
{
    Q_OBJECT
public:
    explicit TQuikTips1(ProgramData &data, QWidget *parent = nullptr);
    ~TQuikTips1() override;

    void InitColors();
    void GetQuickTips();
    void SetQuickTips();
    void SetTips();
    void OKBtn1Click();
    void CancelBtnClick();
    void HelpBtnClick();
    void CHKSTARTClick();

    // The lines the memo holds, one per line.
    QStringList memoLines() const;
    int TipPos() const { return tipPos_; }

protected:
    void FormShow() override;

private:
    ProgramData &data_;
    std::unique_ptr<Ui::TQuikTips1> ui_;
    TTipTable tips_;
    int tipPos_ = 0;
};
