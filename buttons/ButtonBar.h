#pragma once

#include "buttons/ButtonStore.h"

#include <QList>
#include <QPointer>
#include <QWidget>

class QMainWindow;
class QShortcut;
class QToolBar;
class TGlowButton;

// The bar of 34 numbered web-site buttons, shown and hidden by its toggle button.
class TButtonBar : public QWidget
{
    Q_OBJECT
public:
    explicit TButtonBar(QWidget *parent = nullptr);
    ~TButtonBar() override;

    // Reads AppDir/WebButtons.Ini again; start-up and the assign dialog's Save call it.
    void LoadButtonBar();
    // The toggle button that stands first on the main tool bar; the bar places it there.
    TGlowButton *toggleButton() const { return toggle_; }
    // TAddButBtn on the main tool bar.
    TGlowButton *addButton() const { return add_; }
    // TButton1 ... TButton34.
    QList<TGlowButton *> buttons() const { return buttons_; }

    TButtonStore &store() { return store_; }
    // AdvToolBar2, the vertical strip that the user can float off.
    QToolBar *toolBar() const { return toolBar_; }
    // The assign dialog that TAddButBtn shows; the Add button stays disabled until it is set.
    void setAssignDialog(QWidget *dialog);
    // The scheme's button colours for the 34 buttons.
    void applyColors(const QColor &back, const QColor &end, const QColor &text, bool bold);

    void TButtonClick(int number);
    void TToggleBtnClick();
    void TAddButBtnClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool event(QEvent *event) override;

private:
    void createButtons();
    void showButton(int number);
    void setToggleBitmap(const QString &name);
    void hostShortcuts();
    void dropShortcuts();

    TButtonStore store_;
    QMainWindow *dock_ = nullptr;
    QToolBar *toolBar_ = nullptr;
    TGlowButton *toggle_ = nullptr;
    TGlowButton *add_ = nullptr;
    QList<TGlowButton *> buttons_;
    QPointer<QWidget> assignDialog_;
    QPointer<QWidget> shortcutHost_;
    QList<QPointer<QShortcut>> shortcuts_;
};
