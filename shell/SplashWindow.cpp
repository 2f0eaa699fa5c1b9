#include "shell/SplashWindow.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>

TLoadForm1::TLoadForm1(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("LoadForm1"));
    setFixedSize(268, 93);
    auto *layout = new QHBoxLayout(this);
    auto *icon = new QLabel(this);
    icon->setPixmap(QApplication::windowIcon().pixmap(48, 48));
    auto *label = new QLabel(QStringLiteral("Loading Quillmere"), this);
    QFont font = label->font();
    font.setPointSize(font.pointSize() + 3);
    font.setBold(true);
    label->setFont(font);
    layout->addWidget(icon);
    layout->addWidget(label, 1);
    setAutoFillBackground(true);
}

void TLoadForm1::showNow()
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    raise();
    repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
