#pragma once

#include <QFrame>
#include <QPoint>

class QComboBox;
class QListWidget;

// The help window's search panel: a search box over the topic index. The user moves it out of
// the way by dragging it by its frame; it never leaves the window.
class TSearchPanel : public QFrame
{
    Q_OBJECT
public:
    explicit TSearchPanel(QWidget *parent = nullptr);

    QComboBox *CMBINDEX = nullptr;
    QListWidget *ListBox1 = nullptr;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void moveWithin(QPoint topLeft);

    QPoint grabbedAt_;
    bool dragging_ = false;
};
