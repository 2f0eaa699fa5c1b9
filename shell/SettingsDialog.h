#pragma once

#include "shell/DialogForm.h"

#include <QPointer>
#include <array>
#include <memory>

class Ask;
class ProgramData;
class QComboBox;
class QLineEdit;
class TColorBox;

namespace Ui {
class TSetConf1;
}

// The one place where the user edits the colour scheme, the program options and the e-mail
// addresses. The fields are the working copy until OK; Cancel forgets them.
class TSetConf1 : public TDialogForm
{
    Q_OBJECT
public:
    enum Page { ColorsPage, OptionsPage, EmailPage };

    TSetConf1(ProgramData &data, Ask &ask, QWidget *parent = nullptr);
    ~TSetConf1() override;

    // Drops onto the start page field are taken only from this box (the main window's address
    // box), and what is taken is its text.
    void setAddressSource(QComboBox *box);
    // Whether a drag from this control may drop onto the start page field.
    bool acceptsDragFrom(const QObject *source) const;

    // The Utilities menu, after it has set SettingsPage: colours modal, options modeless. A
    // colours command while the dialog stands open turns it to the colours page and raises it.
    void openFromMenu();

    void GetColor(int number);
    void GetTextColors();
    void SetTextColors();
    void GetOptions();
    void SetOptions();

    void OKBtn1Click();
    void CancelBtnClick();
    void HelpBtnClick();
    void Text1DblClick();
    void Text2DblClick();
    void Text3DblClick();
    void Cut1Click();
    void Copy1Click();
    void Paste1Click();

    // Every way the dialog closes (OK, Cancel, Esc, the frame) ends in the close routine.
    void done(int result) override;

    // Box 1 to 8 hold the start colours, 9 to 13 the gradient ends, 14 to 21 the text colours.
    TColorBox *colorBox(int number) const { return colorBoxes_.at(number - 1); }

signals:
    // The dialog has closed with a main window picture set: the frame shows it (or nothing,
    // when the file is not a picture it can read).
    void mainPictureRequested(const QString &path);

protected:
    void FormShow() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createEditMenu();
    void setPictures();
    void watchFields();
    bool textDragOver(QDropEvent *event) const;
    void textDragDrop(QDropEvent *event);
    QLineEdit *focusedPageField() const;
    void FormClose();

    ProgramData &data_;
    Ask &ask_;
    std::unique_ptr<Ui::TSetConf1> ui;
    std::array<TColorBox *, 21> colorBoxes_{};
    std::array<QLineEdit *, 10> toFields_{};
    QPointer<QComboBox> addressSource_;
};
