#pragma once

#include <QObject>
#include <QPoint>

class Ask;
class ProgramData;
class QDropEvent;
class TButtonBar;
class TPageDrop;

// Pages dropped straight onto a button of the bar: the button is assigned and WebButtons.Ini
// written at once, as the assign dialog's Save would, so the user need not open the dialog.
class TButtonBarDrops : public QObject
{
    Q_OBJECT
public:
    TButtonBarDrops(ProgramData &data, Ask &ask, const TPageDrop &drop, TButtonBar *bar);

    // Gives button number the address and writes the file; false (the user told why) when the
    // file could not be written, and then nothing changes.
    bool assign(int number, const QString &address);

signals:
    // A button got a new address from a drop, after the file was written.
    void buttonAssigned(int number, const QString &address);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The number of the bar's button at pos of the strip, or 0.
    int buttonAt(const QPoint &pos) const;
    bool dragEvent(QDropEvent *event);

    ProgramData &data_;
    Ask &ask_;
    const TPageDrop &drop_;
    TButtonBar *bar_;
};
