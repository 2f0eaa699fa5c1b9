#pragma once

#include <QWidget>

// The small "Loading Quillmere" window shown while the other windows are made.
class TLoadForm1 : public QWidget
{
    Q_OBJECT
public:
    explicit TLoadForm1(QWidget *parent = nullptr);
    // Shows the window centred on the screen and paints it before returning.
    void showNow();
};
