#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <optional>

// Every question, chooser and error box the program puts to the user goes through this one
// interface: the program answers with real dialogs (RealAsk), tests with queued answers.
// Pages and dialogs take it by reference in their constructors.
class Ask
{
public:
    virtual ~Ask() = default;

    // A Yes/No message box captioned "Quillmere"; true for Yes.
    virtual bool question(const QString &text) = 0;
    // The application's standard error box.
    virtual void error(const QString &text) = 0;
    virtual void information(const QString &text) = 0;

    // The choosers return an empty path (or nothing) when the user cancels.
    // filters: "Bookmark files (*.html *.htm)" entries; chosenFilter receives the one used.
    virtual QString openFile(const QString &caption, const QString &folder,
                             const QStringList &filters) = 0;
    virtual QString saveFile(const QString &caption, const QString &proposed,
                             const QStringList &filters, QString *chosenFilter = nullptr) = 0;
    virtual std::optional<QColor> color(const QColor &initial) = 0;
    // An existing picture file of a format the program can read.
    virtual QString picture(const QString &caption, const QString &folder) = 0;
    virtual QString folder(const QString &caption, const QString &start) = 0;
    // A password typed in a hidden field; nothing when the user declines.
    virtual std::optional<QString> password(const QString &text) = 0;
};
