#pragma once

#include <QList>
#include <QWidget>

class TGlowButton;

// The bar of 34 numbered web-site buttons, shown and hidden by its toggle button.
class TButtonBar : public QWidget
{
    Q_OBJECT
public:
    explicit TButtonBar(QWidget *parent = nullptr);

    void LoadButtonBar();
    // The toggle button that stands first on the main tool bar; the bar places it there.
    TGlowButton *toggleButton() const { return toggle_; }
    // TAddButBtn on the main tool bar.
    TGlowButton *addButton() const { return add_; }
    // TButton1 ... TButton34.
    QList<TGlowButton *> buttons() const { return buttons_; }

private:
    TGlowButton *toggle_ = nullptr;
    TGlowButton *add_ = nullptr;
    QList<TGlowButton *> buttons_;
};
