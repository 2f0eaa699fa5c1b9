#include "buttons/ButtonBarDrops.h"

#include "app/Ask.h"
#include "app/ProgramData.h"
#include "buttons/ButtonBar.h"
#include "buttons/ButtonStore.h"
#include "buttons/PageDrop.h"
#include "controls/GlowButton.h"

#include <QDropEvent>
#include <QToolBar>

TButtonBarDrops::TButtonBarDrops(ProgramData &data, Ask &ask, const TPageDrop &drop,
                                 TButtonBar *bar)
    : QObject(bar), data_(data), ask_(ask), drop_(drop), bar_(bar)
{
    // Unassigned buttons are disabled and take no events, so the strip takes the drops and
    // finds the button under the pointer itself.
    bar_->toolBar()->setAcceptDrops(true);
    bar_->toolBar()->installEventFilter(this);
}

bool TButtonBarDrops::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != bar_->toolBar())
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return dragEvent(static_cast<QDropEvent *>(event));
    default:
        return QObject::eventFilter(watched, event);
    }
}

bool TButtonBarDrops::dragEvent(QDropEvent *event)
{
    const int number = buttonAt(event->position().toPoint());
    // A drag may enter the strip between buttons; it is taken on so that it can move on to one.
    if (event->type() == QEvent::DragEnter) {
        drop_.acceptAsCopy(event);
        return true;
    }
    if (number == 0) {
        event->ignore();
        return true;
    }
    if (!drop_.acceptAsCopy(event) || event->type() != QEvent::Drop)
        return true;
    const QString address = drop_.DropAddress(event->source());
    // A drag that yields no address (a folder, a list name) leaves the button as it was.
    if (!address.trimmed().isEmpty())
        assign(number, address);
    return true;
}

int TButtonBarDrops::buttonAt(const QPoint &pos) const
{
    const QList<TGlowButton *> buttons = bar_->buttons();
    for (QWidget *widget = bar_->toolBar()->childAt(pos); widget; widget = widget->parentWidget()) {
        for (qsizetype index = 0; index < buttons.size(); ++index) {
            if (buttons.at(index) == widget)
                return static_cast<int>(index) + 1;
        }
    }
    return 0;
}

bool TButtonBarDrops::assign(int number, const QString &address)
{
    if (number < 1 || number > TButtonStore::ButtonCount)
        return false;
    const TButtonStore &store = data_.buttons();
    QStringList addresses;
    for (int button = 1; button <= TButtonStore::ButtonCount; ++button)
        addresses << (store.isAssigned(button) ? store.ButtonAddress(button) : QString());
    addresses[number - 1] = address;
    const std::optional<QString> error = TButtonStore::SaveButtonFields(data_.appDir(), addresses);
    if (error) {
        ask_.error(QStringLiteral("The buttons could not be saved to %1: %2")
                       .arg(TButtonStore::FileName, *error));
        return false;
    }
    data_.loadButtons();
    emit buttonAssigned(number, address);
    return true;
}
