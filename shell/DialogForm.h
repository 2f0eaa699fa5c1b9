#pragma once

#include <QDialog>

// Base of the dialogs the main window creates once at start and keeps for the whole run. The
// program opens them through openModeless() or openModal(), so FormShow runs only when the
// program moves a dialog from hidden to shown, never when the desktop re-shows it (after
// minimising), and typed fields survive a second click on its menu item.
class TDialogForm : public QDialog
{
    Q_OBJECT
public:
    using QDialog::QDialog;

    // Shows the dialog and returns at once; one already open is only raised.
    void openModeless();
    // Shows the dialog and waits until it closes; returns the dialog's result.
    int openModal();

protected:
    // The dialog's show routine: fill its fields from the program's data.
    virtual void FormShow() {}
};
