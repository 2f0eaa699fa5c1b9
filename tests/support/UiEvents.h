#pragma once

#include <QApplication>
#include <QList>
#include <QMouseEvent>
#include <QObject>
#include <QTest>
#include <QUrl>
#include <QWidget>

// The events a real double click delivers; QTest's own double click leaves out the release.
inline void doubleClick(QWidget *widget, const QPoint &at)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, at);
    QTest::mousePress(widget, Qt::LeftButton, {}, at);
    QMouseEvent event(QEvent::MouseButtonDblClick, at, widget->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
}

// Stands in for the desktop's default program for file URLs.
class DesktopRecorder : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened << url; }
};
