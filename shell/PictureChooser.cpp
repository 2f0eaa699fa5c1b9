#include "shell/PictureChooser.h"

#include <QGridLayout>
#include <QImageReader>
#include <QLabel>

namespace {
constexpr int PreviewSide = 180;
}

TPictureChooser::TPictureChooser(QWidget *parent, const QString &caption, const QString &folder)
    : QFileDialog(parent, caption, folder, filter())
{
    // The preview needs our own dialog; the desktop's may offer none.
    setOption(QFileDialog::DontUseNativeDialog);
    setFileMode(QFileDialog::ExistingFile);
    setAcceptMode(QFileDialog::AcceptOpen);
    preview_ = new QLabel(this);
    preview_->setObjectName(QStringLiteral("preview"));
    preview_->setFixedSize(PreviewSide, PreviewSide);
    preview_->setAlignment(Qt::AlignCenter);
    preview_->setFrameShape(QFrame::StyledPanel);
    if (auto *grid = qobject_cast<QGridLayout *>(layout()))
        grid->addWidget(preview_, 1, grid->columnCount(), grid->rowCount() - 1, 1);
    connect(this, &QFileDialog::currentChanged, this, &TPictureChooser::showPreview);
}

QString TPictureChooser::choose(QWidget *parent, const QString &caption, const QString &folder)
{
    TPictureChooser dialog(parent, caption, folder);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString TPictureChooser::filter()
{
    QStringList patterns;
    const QList<QByteArray> formats = QImageReader::supportedImageFormats();
    for (const QByteArray &format : formats)
        patterns << QStringLiteral("*.") + QString::fromLatin1(format);
    return QStringLiteral("Pictures (%1);;All files (*)").arg(patterns.join(u' '));
}

void TPictureChooser::showPreview(const QString &path)
{
    QImageReader reader(path);
    // Decoding at the preview's size keeps a large photo cheap to show.
    const QSize size = reader.size();
    if (size.isValid())
        reader.setScaledSize(size.scaled(PreviewSide - 4, PreviewSide - 4, Qt::KeepAspectRatio));
    const QImage picture = reader.read();
    if (picture.isNull()) {
        preview_->setPixmap(QPixmap());
        return;
    }
    preview_->setPixmap(QPixmap::fromImage(picture));
}
