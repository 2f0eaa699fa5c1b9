#pragma once

#include "shell/DialogForm.h"

#include <QStringList>
#include <array>
#include <memory>

class Ask;
class ProgramData;
class QKeyEvent;
class QTimer;

namespace Ui {
class TListRun1;
}

// "Run Web Page List": a timed show that opens the pages of one list one after the other. The
// run goes on while the dialog is hidden; its timer runs only while a list runs.
class TListRun1 : public TDialogForm
{
    Q_OBJECT
public:
    TListRun1(ProgramData &data, Ask &ask, QWidget *parent = nullptr);
    ~TListRun1() override;

    void InitColors();
    void LoadListChoices();
    void CMBLISTClick(int index);
    void OKBtn1Click();
    void Timer1Timer();
    void CancelBtnClick();
    void HelpBtnClick();

    bool running() const;
    QTimer *timer() const { return Timer1; }
    int pagePosition() const { return PagePosition; }
    QStringList pages() const { return ListBox1; }
    QString chosenList() const { return chosenList_; }
    // The interval item in force: -1 while the box holds text that is no item.
    int chosenInterval() const;
    // Ticks that come while the user types into a page or the address box open nothing.
    bool pausedForTyping() const { return typing_; }
    void endTypingPause();
    // What the dialog shows of the run: which page of how many, and the time to the next.
    QString progressText() const;

signals:
    // CloseListWindow: the first browser window the runner opened is to be closed.
    void closeListWindowRequested();

protected:
    void FormShow() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void startRun();
    void stopRun();
    void endRun();
    void showNextPage();
    void showProgress();
    void noteTyping(QObject *receiver, const QKeyEvent *key);
    int listRow(const QString &name) const;

    ProgramData &data_;
    Ask &ask_;
    std::unique_ptr<Ui::TListRun1> ui_;
    QTimer *Timer1 = nullptr;
    QTimer *clock_ = nullptr;
    QTimer *typingPause_ = nullptr;
    static constexpr std::array<int, 14> IntervalSeconds{3,  5,  10,  15,  25,  30,  45,
                                                         60, 90, 120, 180, 300, 600, 900};
    QStringList ListBox1;
    int PagePosition = 0;
    // Remembered by name: lists added or deleted elsewhere move the rows of the box.
    QString chosenList_;
    bool ticking_ = false;
    bool typing_ = false;
};
