#pragma once

#include <QDateTime>
#include <QLabel>

// The status bar's clock. It keeps one size for every time it can show and paints its own
// background, so a tick repaints this panel alone: a label that changes width makes the
// status bar lay out and repaint everything in it, and the window behind it, once a second.
class TClockPanel : public QLabel
{
    Q_OBJECT
public:
    explicit TClockPanel(QWidget *parent = nullptr);

    void showTime(const QDateTime &moment);

protected:
    void changeEvent(QEvent *event) override;

private:
    QString textFor(const QDateTime &moment) const;
    void fitWidest();
    void fitText(const QString &text);
};
