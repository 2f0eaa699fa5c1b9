#include "app/ErrorBox.h"

#include <QMessageBox>
#include <cstdio>

namespace {
std::function<void(const QString &)> &errorBoxHandler()
{
    static std::function<void(const QString &)> handler;
    return handler;
}
} // namespace

void setErrorBoxHandler(std::function<void(const QString &)> handler)
{
    errorBoxHandler() = std::move(handler);
}

void ShowErrorBox(const QString &text, QWidget *parent)
{
    std::fprintf(stderr, "Quillmere: %s\n", qPrintable(text));
    if (errorBoxHandler()) {
        errorBoxHandler()(text);
        return;
    }
    QMessageBox::critical(parent, QStringLiteral("Quillmere"), text);
}
