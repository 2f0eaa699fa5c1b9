#include "shell/RealAsk.h"

#include "shell/ErrorBox.h"
#include "shell/PictureChooser.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>

namespace {

QWidget *owner()
{
    return QApplication::activeWindow();
}

} // namespace

bool RealAsk::question(const QString &text)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Quillmere"), text,
                    QMessageBox::Yes | QMessageBox::No, owner());
    return box.exec() == QMessageBox::Yes;
}

void RealAsk::error(const QString &text)
{
    ShowErrorBox(text, owner());
}

void RealAsk::information(const QString &text)
{
    QMessageBox::information(owner(), QStringLiteral("Quillmere"), text);
}

QString RealAsk::openFile(const QString &caption, const QString &folder, const QStringList &filters)
{
    return QFileDialog::getOpenFileName(owner(), caption, folder,
                                        filters.join(QStringLiteral(";;")));
}

QString RealAsk::saveFile(const QString &caption, const QString &proposed,
                          const QStringList &filters, QString *chosenFilter)
{
    return QFileDialog::getSaveFileName(owner(), caption, proposed,
                                        filters.join(QStringLiteral(";;")), chosenFilter);
}

std::optional<QColor> RealAsk::color(const QColor &initial)
{
    const QColor chosen = QColorDialog::getColor(initial, owner());
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

QString RealAsk::picture(const QString &caption, const QString &folder)
{
    return TPictureChooser::choose(owner(), caption, folder);
}

QString RealAsk::folder(const QString &caption, const QString &start)
{
    return QFileDialog::getExistingDirectory(owner(), caption, start);
}
