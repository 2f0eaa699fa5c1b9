#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

class ProgramData;
class QColor;
class QMainWindow;
class QShortcut;
class QToolBar;
class TGlowButton;

// The bar of 34 numbered web-site buttons, shown and hidden by its toggle button: a view of the
// button store of the program's data.
class TButtonBar : public QWidget
{
    Q_OBJECT
public:
    explicit TButtonBar(ProgramData &data, QWidget *parent = nullptr);
    ~TButtonBar() override;

    // Reads AppDir/WebButtons.Ini again; start-up and the assign dialog's Save call it.
    void LoadButtonBar();
    void applyColors();
    // The toggle button that stands first on the main tool bar; the bar places it there.
    TGlowButton *toggleButton() const { return toggle_; }
    // TAddButBtn on the main tool bar: asks for the assign dialog, disabled until the window
    // that owns the dialog enables it.
    TGlowButton *addButton() const { return add_; }
    // TButton1 ... TButton34.
    QList<TGlowButton *> buttons() const { return buttons_; }

    // AdvToolBar2, the vertical strip that the user can float off.
    QToolBar *toolBar() const { return toolBar_; }

    void TButtonClick(int number);
    void TToggleBtnClick();

signals:
    void assignButtonsRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool event(QEvent *event) override;

private:
    void createButtons();
    void showButton(int number);
    void setToggleBitmap(const QString &name);
    void hostShortcuts();
    void dropShortcuts();

    ProgramData &data_;
    QMainWindow *dock_ = nullptr;
    QToolBar *toolBar_ = nullptr;
    TGlowButton *toggle_ = nullptr;
    TGlowButton *add_ = nullptr;
    QList<TGlowButton *> buttons_;
    QPointer<QWidget> shortcutHost_;
    QList<QPointer<QShortcut>> shortcuts_;
};
