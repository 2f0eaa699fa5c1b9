#include "shell/RealAsk.h"

#include "app/Logging.h"
#include "shell/ErrorBox.h"
#include "shell/PictureChooser.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <cstdio>

namespace {

QWidget *owner()
{
    return QApplication::activeWindow();
}

} // namespace

bool RealAsk::question(const QString &text)
{
    if (unattended_) {
        qCInfo(lcShell, "Not asked, taken as No: %s", qPrintable(text));
        return false;
    }
    QMessageBox box(QMessageBox::Question, QStringLiteral("Quillmere"), text,
                    QMessageBox::Yes | QMessageBox::No, owner());
    return box.exec() == QMessageBox::Yes;
}

void RealAsk::error(const QString &text)
{
    if (unattended_) {
        std::fprintf(stderr, "Quillmere: %s\n", qPrintable(text));
        qCWarning(lcShell, "Error not shown, nobody to answer it: %s", qPrintable(text));
        return;
    }
    ShowErrorBox(text, owner());
}

void RealAsk::information(const QString &text)
{
    if (unattended_) {
        qCInfo(lcShell, "Not shown: %s", qPrintable(text));
        return;
    }
    QMessageBox::information(owner(), QStringLiteral("Quillmere"), text);
}

QString RealAsk::openFile(const QString &caption, const QString &folder, const QStringList &filters)
{
    if (unattended_)
        return {};
    return QFileDialog::getOpenFileName(owner(), caption, folder,
                                        filters.join(QStringLiteral(";;")));
}

QString RealAsk::saveFile(const QString &caption, const QString &proposed,
                          const QStringList &filters, QString *chosenFilter)
{
    if (unattended_)
        return {};
    return QFileDialog::getSaveFileName(owner(), caption, proposed,
                                        filters.join(QStringLiteral(";;")), chosenFilter);
}

std::optional<QColor> RealAsk::color(const QColor &initial)
{
    if (unattended_)
        return std::nullopt;
    const QColor chosen = QColorDialog::getColor(initial, owner());
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

QString RealAsk::picture(const QString &caption, const QString &folder)
{
    if (unattended_)
        return {};
    return TPictureChooser::choose(owner(), caption, folder);
}

QString RealAsk::folder(const QString &caption, const QString &start)
{
    if (unattended_)
        return {};
    return QFileDialog::getExistingDirectory(owner(), caption, start);
}

std::optional<QString> RealAsk::password(const QString &text)
{
    if (unattended_)
        return std::nullopt;
    bool ok = false;
    const QString typed = QInputDialog::getText(owner(), QStringLiteral("Quillmere"), text,
                                                QLineEdit::Password, QString(), &ok);
    if (!ok)
        return std::nullopt;
    return typed;
}
