#include "app/dialogs/PictureDialogs.h"

#include "app/dialogs/DialogRunner.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QImageReader>
#include <QLabel>

namespace {

constexpr int kPreviewSize = 160;

QString Run(QFileDialog& dialog)
{
    if (DialogRunner().Exec(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

QString AskPictureToOpen(QWidget* parent)
{
    QFileDialog dialog(parent, QStringLiteral(" Load Image"));
    // Qt's own dialog, so that the preview can be placed inside it.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters({QStringLiteral("Bitmaps (*.bmp)"), QStringLiteral("JPEG Image File (*.jpg *.jpeg)")});
    dialog.selectNameFilter(QStringLiteral("JPEG Image File (*.jpg *.jpeg)"));
    auto* preview = new QLabel(&dialog);
    preview->setObjectName(QStringLiteral("imgPreview"));
    preview->setAccessibleName(QStringLiteral("Preview"));
    preview->setFixedSize(kPreviewSize, kPreviewSize);
    preview->setAlignment(Qt::AlignCenter);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
        grid->addWidget(preview, 0, grid->columnCount(), grid->rowCount(), 1);
    QObject::connect(&dialog, &QFileDialog::currentChanged, preview, [preview](const QString& path) {
        QImageReader reader(path);
        reader.setAutoTransform(true);
        const QSize size = reader.size();
        // Only the preview's size is decoded.
        if (size.isValid())
            reader.setScaledSize(size.scaled(kPreviewSize, kPreviewSize, Qt::KeepAspectRatio));
        preview->setPixmap(QPixmap::fromImage(reader.read()));
    });
    return Run(dialog);
}

QString AskBitmapToSave(QWidget* parent)
{
    QFileDialog dialog(parent, QStringLiteral("Save Image"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QStringLiteral("Bitmap files (*.bmp)"));
    dialog.setDefaultSuffix(QStringLiteral("bmp"));
    return Run(dialog);
}
