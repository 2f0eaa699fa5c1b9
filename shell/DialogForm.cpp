#include "shell/DialogForm.h"

void TDialogForm::openModeless()
{
    if (isHidden()) {
        FormShow();
        show();
    }
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

int TDialogForm::openModal()
{
    // A dialog already open modeless becomes modal as it stands.
    if (isHidden())
        FormShow();
    return exec();
}
