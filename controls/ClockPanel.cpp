#include "controls/ClockPanel.h"

#include "app/LocaleFormat.h"

#include <QEvent>
#include <QFontMetrics>

namespace {

// The panel's text begins with these blanks, as the clock always showed it.
const QString Lead = QStringLiteral("       ");

// The digit that takes the most room in the font: every digit of the sample becomes it.
QChar widestDigit(const QFontMetrics &metrics)
{
    QChar widest = u'0';
    for (char16_t digit = u'1'; digit <= u'9'; ++digit) {
        if (metrics.horizontalAdvance(QChar(digit)) > metrics.horizontalAdvance(widest))
            widest = QChar(digit);
    }
    return widest;
}

} // namespace

TClockPanel::TClockPanel(QWidget *parent) : QLabel(parent)
{
    // Opaque: a tick need not repaint the status bar behind the panel.
    setAutoFillBackground(true);
    fitWidest();
}

QString TClockPanel::textFor(const QDateTime &moment) const
{
    return Lead + LocaleFormat::dateTime(moment);
}

void TClockPanel::showTime(const QDateTime &moment)
{
    const QString text = textFor(moment);
    fitText(text);
    setText(text);
}

void TClockPanel::changeEvent(QEvent *event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::LocaleChange)
        fitWidest();
}

void TClockPanel::fitWidest()
{
    // A late date, morning and afternoon (12-hour formats differ in the marker), with the
    // widest digit everywhere.
    const QFontMetrics metrics(font());
    const QChar digit = widestDigit(metrics);
    const QDate date(2000, 12, 28);
    int width = 0;
    for (const QTime &time : {QTime(10, 58, 58), QTime(22, 58, 58)}) {
        QString sample = textFor(QDateTime(date, time));
        for (QChar &c : sample) {
            if (c.isDigit())
                c = digit;
        }
        width = qMax(width, metrics.horizontalAdvance(sample));
    }
    setFixedSize(width + 2 * margin() + 4, sizeHint().height());
}

void TClockPanel::fitText(const QString &text)
{
    // A month name or a locale's marker can still outgrow the sample; the panel then grows once.
    const int wanted = QFontMetrics(font()).horizontalAdvance(text) + 2 * margin() + 4;
    if (wanted > width())
        setFixedWidth(wanted);
}
