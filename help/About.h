#pragma once

#include "app/Globals.h"

#include <QDialog>
#include <memory>

namespace Ui {
class TAbout1;
}

// The about box: the program's name and version, what it does, and today on a calendar.
class TAbout1 : public QDialog
{
    Q_OBJECT
public:
    // Where double-clicking the name or the description leads: the project's own page.
    static constexpr auto ProjectPage = "https://quillmere.invalid/Default.Htm";
    static constexpr auto ProductLine = "Quillmere 4.0";
    static constexpr auto NoticeLine = "Free software for the Linux desktop";

    explicit TAbout1(TGlobals &g, QWidget *parent = nullptr);
    ~TAbout1() override;

    // Shows the box as the About command does: FormShow runs only when it was hidden.
    void present();

    void FormShow();
    void InitColors();
    void OKBtn1Click();
    void CancelBtnClick();
    void HelpBtnClick();
    void Label2DblClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TGlobals &g_;
    std::unique_ptr<Ui::TAbout1> ui_;
};
