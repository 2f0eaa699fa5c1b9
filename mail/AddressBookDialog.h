#pragma once

#include "shell/DialogForm.h"

#include <QList>
#include <QPointer>
#include <memory>

class Ask;
class ProgramData;
class QAction;
class QComboBox;
class QLineEdit;
class QMenu;

namespace Ui {
class TMailAddr1;
}

// The address book window: named addresses kept in MailAddr.MLS, handed to the mail window's
// To box by double click or Select.
class TMailAddr1 : public TDialogForm
{
    Q_OBJECT
public:
    TMailAddr1(ProgramData &data, Ask &ask, QWidget *parent = nullptr);
    ~TMailAddr1() override;

    // The mail window's To box and its Copy, Cut and Paste items, which are switched off while
    // this window is active. Without them a double click or Select has nowhere to go.
    void attachMailWindow(QComboBox *toBox, const QList<QAction *> &editActions);

    void InitColors();
    bool LoadEMailList();
    bool SaveEMailList();
    bool ChkDuplicates(const QString &upperEntry) const;
    void OKBtn1Click();
    void SelectBtnClick();
    void CancelBtnClick();
    void HelpBtnClick();
    void ImportBtnClick();
    void ListBox1Click();
    void ListBox1DblClick();
    void deleteSelected();
    void Copy1Click();
    void Cut1Click();
    void Paste1Click();

    // The mail window's Contacts button.
    void AddrBtnClick();
    // The mail window's Add button: the sender of the message shown, ready to be saved.
    void AddrAddBtnClick(int msgCount, const QString &displayName, const QString &fromText);

protected:
    void FormShow() override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void connectControls();
    void makePopupMenu();
    void showPopupMenu(QLineEdit *edit, const QPoint &at);
    void setMailEditActionsEnabled(bool enabled);
    int selectedRow() const;

    ProgramData &data_;
    Ask &ask_;
    std::unique_ptr<Ui::TMailAddr1> ui_;
    QMenu *popupMenu_ = nullptr;
    QLineEdit *popupEdit_ = nullptr;
    QPointer<QComboBox> toBox_;
    QList<QPointer<QAction>> editActions_;
};
