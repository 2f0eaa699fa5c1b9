#pragma once

#include <QString>

class QComboBox;
class QTreeWidget;

// The two lists that mirror the registered browser windows entry for entry: the window list
// of the "Web Pages" page and the drop-down items of the address box.
class WindowList
{
public:
    WindowList() = default;
    WindowList(QTreeWidget *tree, QComboBox *addressBox);
    void attach(QTreeWidget *tree, QComboBox *addressBox);

    // Adds an entry at the end of both lists, selects its node and returns its position.
    int append(const QString &title);
    void rename(int index, const QString &title);
    void remove(int index);
    bool isValid(int index) const;
    int count() const;
    QString text(int index) const;

    // First position whose text equals caption exactly, or -1.
    int findNode(const QString &caption) const;
    int findAddressItem(const QString &caption) const;
    void selectNode(int index);
    void selectAddressItem(int index);

private:
    QTreeWidget *tree_ = nullptr;
    QComboBox *addressBox_ = nullptr;
};
