#pragma once

#include <QStandardItemModel>
#include <QString>
#include <QStringList>
#include <optional>

// The 34 web-site button assignments read from WebButtons.Ini: one model row per button, the
// working copy the button bar shows.
class TButtonStore
{
public:
    static constexpr int ButtonCount = 34;
    // The address a button opens; ToolTipRole holds the hint, which outlives a reset.
    static constexpr int AddressRole = Qt::UserRole + 1;
    static inline const QString FileName = QStringLiteral("WebButtons.Ini");

    struct Line
    {
        int number = 0;
        QString address;
    };
    // Number before the first "##", address after it; nothing when the number does not convert.
    static std::optional<Line> parseLine(const QString &line);
    // The file's lines for the texts of buttons 1, 2 ...: one line per text that holds more than
    // blanks and control characters, the text kept as typed but without line breaks, which
    // would split it into two lines of the file.
    static QStringList fileLines(const QStringList &addresses);
    // Rewrites appDir/WebButtons.Ini from those texts, atomically; the error text on failure.
    static std::optional<QString> SaveButtonFields(const QString &appDir,
                                                   const QStringList &addresses);

    TButtonStore();

    // Row number - 1 is button number; the caption is the number, enabled means assigned.
    QStandardItemModel *model() { return &model_; }

    QString ButtonAddress(int number) const;
    bool isAssigned(int number) const;
    QString hint(int number) const;

    // Clears every address and disables every button, then assigns the lines of
    // appDir/WebButtons.Ini; a missing or unreadable file leaves all buttons unassigned.
    void LoadButtonBar(const QString &appDir);
    // Disables every button; addresses and hints are left to the caller.
    void ResetButtonBar();
    // Numbers outside 1..34 are ignored; an empty address still enables the button.
    void AssignButton(int number, const QString &address);

private:
    QStandardItem *item(int number) const;

    QStandardItemModel model_;
};
