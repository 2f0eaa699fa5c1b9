#pragma once

#include <QFileDialog>

class QLabel;

// The file chooser for a picture to show: existing files only, of the formats Qt reads, with a
// preview of the file under the cursor.
class TPictureChooser : public QFileDialog
{
    Q_OBJECT
public:
    TPictureChooser(QWidget *parent, const QString &caption, const QString &folder);

    // The chosen file's full path, or empty when the user cancels.
    static QString choose(QWidget *parent, const QString &caption, const QString &folder);
    static QString filter();

    QLabel *preview() const { return preview_; }
    void showPreview(const QString &path);

private:
    QLabel *preview_ = nullptr;
};
