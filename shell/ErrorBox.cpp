#include "shell/ErrorBox.h"

#include <QMessageBox>
#include <cstdio>

void ShowErrorBox(const QString &text, QWidget *parent)
{
    std::fprintf(stderr, "Quillmere: %s\n", qPrintable(text));
    QMessageBox::critical(parent, QStringLiteral("Quillmere"), text);
}
