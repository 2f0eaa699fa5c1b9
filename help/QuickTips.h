#pragma once

#include "app/Globals.h"
#include "help/TipTable.h"

#include <QDialog>
#include <memory>

namespace Ui {
class TQuikTips1;
}

// The quick tips window: one tip from TipHelp.Txt at a time, picked at random.
class TQuikTips1 : public QDialog
{
    Q_OBJECT
public:
    explicit TQuikTips1(TGlobals &g, QWidget *parent = nullptr);
    ~TQuikTips1() override;

    // Shows the window as a menu command does: a hidden window is made ready and shown, an open
    // one is only brought to the front.
    void present();

    void FormShow();
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

private:
    TGlobals &g_;
    std::unique_ptr<Ui::TQuikTips1> ui_;
    TTipTable tips_;
    int tipPos_ = 0;
};
