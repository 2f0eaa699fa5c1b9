#include "help/SearchPanel.h"

#include <QComboBox>
#include <QListWidget>
#include <QMouseEvent>
#include <QVBoxLayout>

TSearchPanel::TSearchPanel(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("Panel1"));
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);
    setCursor(Qt::SizeAllCursor);
    resize(211, 277);

    CMBINDEX = new QComboBox(this);
    CMBINDEX->setObjectName(QStringLiteral("CMBINDEX"));
    CMBINDEX->setEditable(true);
    CMBINDEX->setInsertPolicy(QComboBox::NoInsert);
    CMBINDEX->setCursor(Qt::ArrowCursor);
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setCursor(Qt::ArrowCursor);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->setSpacing(3);
    layout->addWidget(CMBINDEX);
    layout->addWidget(ListBox1);
}

void TSearchPanel::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QFrame::mousePressEvent(event);
    grabbedAt_ = event->position().toPoint();
    dragging_ = true;
}

void TSearchPanel::mouseMoveEvent(QMouseEvent *event)
{
    if (!dragging_)
        return QFrame::mouseMoveEvent(event);
    moveWithin(mapToParent(event->position().toPoint()) - grabbedAt_);
}

void TSearchPanel::mouseReleaseEvent(QMouseEvent *event)
{
    dragging_ = false;
    QFrame::mouseReleaseEvent(event);
}

void TSearchPanel::moveWithin(QPoint topLeft)
{
    // Dropped anywhere, the panel stays where the user can reach it again.
    const QRect area = parentWidget()->rect();
    topLeft.setX(qBound(0, topLeft.x(), qMax(0, area.width() - width())));
    topLeft.setY(qBound(0, topLeft.y(), qMax(0, area.height() - height())));
    move(topLeft);
}
