#pragma once

#include "app/Ask.h"

// Asks the user with the desktop's own boxes and choosers, over the active window.
class RealAsk : public Ask
{
public:
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
};
