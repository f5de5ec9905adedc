#include "app/dialogs/FileDialogs.h"

#include "app/dialogs/DialogRunner.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QImageReader>
#include <QLabel>

namespace {

constexpr int kPreviewSize = 160;

// The program's own dialog everywhere: the same on every desktop, and workable in tests.
void Prepare(QFileDialog& dialog, QFileDialog::AcceptMode mode)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(mode);
}

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
    // Qt's own dialog also lets the preview be placed inside it.
    Prepare(dialog, QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
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
    Prepare(dialog, QFileDialog::AcceptSave);
    dialog.setNameFilter(QStringLiteral("Bitmap files (*.bmp)"));
    dialog.setDefaultSuffix(QStringLiteral("bmp"));
    return Run(dialog);
}

QString AskGraphToOpen(QWidget* parent)
{
    QFileDialog dialog(parent, QStringLiteral("Open"));
    Prepare(dialog, QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(QStringLiteral("Circlewright files (*.eng)"));
    return Run(dialog);
}

QString AskGraphToSave(QWidget* parent, const QString& current)
{
    QFileDialog dialog(parent, QStringLiteral("Save Graph"));
    Prepare(dialog, QFileDialog::AcceptSave);
    dialog.setNameFilter(QStringLiteral("Circlewright file (*.eng)"));
    dialog.setDefaultSuffix(QStringLiteral("eng"));
    dialog.selectFile(current);
    return Run(dialog);
}

QString AskGraphPictureToSave(QWidget* parent, int& depth)
{
    struct TFormat
    {
        const char* Filter;
        const char* Suffix;
        int Depth;
    };
    static constexpr TFormat kFormats[] = {
        {"Monochrome Bitmap (*.bmp)", "bmp", 1}, {"16 Color Bitmap (*.bmp)", "bmp", 4},
        {"256 Color Bitmap (*.bmp)", "bmp", 8},  {"24-bit Bitmap (*.bmp)", "bmp", 24},
        {"JPEG (*.jpg *.jpeg)", "jpg", 8},        {"Windows Metafile (*.emf)", "emf", 8}};
    constexpr int kDefault = 2;
    QStringList filters;
    for (const TFormat& format : kFormats)
        filters << QString::fromLatin1(format.Filter);
    QFileDialog dialog(parent, QStringLiteral("Save Image"));
    Prepare(dialog, QFileDialog::AcceptSave);
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters[kDefault]);
    dialog.setDefaultSuffix(QString::fromLatin1(kFormats[kDefault].Suffix));
    // The extension added to a bare name follows the chosen format.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, filters](const QString& filter) {
        const qsizetype index = filters.indexOf(filter);
        dialog.setDefaultSuffix(QString::fromLatin1(kFormats[index < 0 ? kDefault : index].Suffix));
    });
    const QString chosen = Run(dialog);
    const qsizetype index = filters.indexOf(dialog.selectedNameFilter());
    depth = kFormats[index < 0 ? kDefault : index].Depth;
    return chosen;
}

QStringList AskFilesToImport(QWidget* parent, const QString& filter)
{
    QFileDialog dialog(parent, QStringLiteral("Import"));
    Prepare(dialog, QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setNameFilter(filter);
    if (DialogRunner().Exec(dialog) != QDialog::Accepted)
        return {};
    return dialog.selectedFiles();
}

QString AskFileToExport(QWidget* parent, const QString& filter, const QString& suffix)
{
    QFileDialog dialog(parent, QStringLiteral("Export"));
    Prepare(dialog, QFileDialog::AcceptSave);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(suffix);
    return Run(dialog);
}
