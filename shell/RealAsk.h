#pragma once

#include "app/Ask.h"

// Asks the user with the desktop's own boxes and choosers, over the active window. Once
// nobody is there to answer (a signal is ending the program) it asks nothing: errors go to the
// log and stderr, questions are answered No and choosers cancelled.
class RealAsk : public Ask
{
public:
    void setUnattended(bool unattended) { unattended_ = unattended; }
    bool unattended() const { return unattended_; }

    bool question(const QString &text) override;
    void error(const QString &text) override;
    void information(const QString &text) override;
    QString openFile(const QString &caption, const QString &folder,
                     const QStringList &filters) override;
    QString saveFile(const QString &caption, const QString &proposed, const QStringList &filters,
                     QString *chosenFilter = nullptr) override;
    std::optional<QColor> color(const QColor &initial) override;
    QString picture(const QString &caption, const QString &folder) override;
    QString folder(const QString &caption, const QString &start) override;
    std::optional<QString> password(const QString &text) override;

private:
    bool unattended_ = false;
};
