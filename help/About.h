#pragma once

#include "shell/DialogForm.h"

#include <memory>

class ProgramData;

namespace Ui {
class TAbout1;
}

// The about box: the program's name and version, what it does, and today on a calendar.
class TAbout1 : public TDialogForm
{
    Q_OBJECT
public:
    // Where double-clicking the name or the description leads: the project's own page.
    static constexpr auto ProjectPage = "https://quillmere.invalid/Default.Htm";
    static constexpr auto ProductLine = "Quillmere 4.0";
    static constexpr auto NoticeLine = "Free software for the Linux desktop";

    explicit TAbout1(ProgramData &data, QWidget *parent = nullptr);
    ~TAbout1() override;

    void InitColors();
    void OKBtn1Click();
    void CancelBtnClick();
    void HelpBtnClick();
    void Label2DblClick();

protected:
    void FormShow() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    ProgramData &data_;
    std::unique_ptr<Ui::TAbout1> ui_;
};
