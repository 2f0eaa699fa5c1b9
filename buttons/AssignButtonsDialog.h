#pragma once

#include "shell/DialogForm.h"

#include <QList>
#include <memory>

class Ask;
class ProgramData;
class QLineEdit;
class TPageDrop;

namespace Ui {
class TSetBtns1;
}

// Gives each of the 34 web-site buttons an address, typed or dragged onto its field from the
// main window, while the user goes on browsing; Save writes WebButtons.Ini and reloads the bar.
class TSetBtns1 : public TDialogForm
{
    Q_OBJECT
public:
    TSetBtns1(ProgramData &data, Ask &ask, const TPageDrop &drop, QWidget *parent = nullptr);
    ~TSetBtns1() override;

    // Edit1 ... Edit34; null for any other number.
    QLineEdit *field(int number) const;

    void InitColors();
    // Fields without a line in WebButtons.Ini keep their text.
    void LoadButtonFields();
    // Numbers outside 1..34 are ignored.
    void SetButtonField(int number, const QString &address);
    // False when the file could not be written; the user has been told why.
    bool SaveButtonFields();
    QString DropAddress(const QObject *source) const;

    void OKBtn1Click();
    void CancelBtnClick();
    void HelpBtnClick();

protected:
    void FormShow() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool fieldDragEvent(QLineEdit *edit, QEvent *event);

    std::unique_ptr<Ui::TSetBtns1> ui_;
    ProgramData &data_;
    Ask &ask_;
    const TPageDrop &drop_;
    QList<QLineEdit *> fields_;
};
