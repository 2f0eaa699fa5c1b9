#pragma once

#include "app/Ask.h"

#include <QList>
#include <QQueue>

// Answers the program's questions from queues filled by the test, and records every text it
// was shown. An empty queue answers No and cancels choosers, as a user closing the box would.
class ScriptedAsk : public Ask
{
public:
    bool question(const QString &text) override
    {
        questions << text;
        return answers.isEmpty() ? defaultAnswer : answers.dequeue();
    }
    void error(const QString &text) override { errors << text; }
    void information(const QString &text) override { informations << text; }

    QString openFile(const QString &caption, const QString &, const QStringList &) override
    {
        return choose(caption);
    }
    QString saveFile(const QString &caption, const QString &proposed, const QStringList &filters,
                     QString *chosenFilter = nullptr) override
    {
        proposals << proposed;
        if (chosenFilter && !filterChoices.isEmpty())
            *chosenFilter = filters.value(filterChoices.dequeue());
        return choose(caption);
    }
    std::optional<QColor> color(const QColor &initial) override
    {
        choosers << QStringLiteral("colour");
        initialColors << initial;
        return colors.isEmpty() ? std::nullopt : colors.dequeue();
    }
    QString picture(const QString &caption, const QString &) override { return choose(caption); }
    QString folder(const QString &caption, const QString &) override { return choose(caption); }
    std::optional<QString> password(const QString &text) override
    {
        passwordPrompts << text;
        return passwords.isEmpty() ? std::nullopt : std::optional<QString>(passwords.dequeue());
    }

    // Queued answers.
    QQueue<bool> answers;
    bool defaultAnswer = false;
    QQueue<QString> files;     // open, save, picture and folder choosers, in turn
    QQueue<int> filterChoices; // index of the filter a save chooser reports as used
    QQueue<std::optional<QColor>> colors;
    QQueue<QString> passwords;

    // What was shown.
    QStringList questions;
    QStringList errors;
    QStringList informations;
    QStringList choosers;        // chooser captions, in order
    QStringList proposals;       // the names save choosers proposed
    QList<QColor> initialColors; // what each colour chooser was preset with
    QStringList passwordPrompts;

private:
    QString choose(const QString &caption)
    {
        choosers << caption;
        return files.isEmpty() ? QString() : files.dequeue();
    }
};
