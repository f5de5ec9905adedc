#include "RenderGraph.h"

#include "ToolView.h"

#include "foundation/AtomicFileWriter.h"
#include "output/TGraphOutput.h"
#include "output/TGraphPrinter.h"
#include "view/TEgoNetGraphDisplay.h"
#include "view/TGraphDocument.h"

#include <QBuffer>
#include <QFileInfo>

TRenderOptions ParseRenderOptions(const QStringList& arguments)
{
    TRenderOptions options;
    const QStringList files =
        ScanArguments(arguments, {"--size", "--depth"}, {"--fit"}, [&](const QString& option, const QString& value) {
            if (option == "--fit") {
                options.Fit = true;
            } else if (option == "--size") {
                options.Size = ParseViewSize(value);
            } else {
                bool ok = false;
                options.Depth = value.toInt(&ok);
                if (!ok || (options.Depth != 1 && options.Depth != 4 && options.Depth != 8 && options.Depth != 24))
                    throw EToolError(QStringLiteral("--depth wants 1, 4, 8 or 24, not \"%1\"").arg(value));
            }
        });
    if (files.size() != 2)
        throw EToolError(QStringLiteral("render wants IN.eng OUT (see --help)"));
    options.Input = files[0];
    options.Output = files[1];
    static const QStringList suffixes{"bmp", "jpg", "jpeg", "emf", "png"};
    if (!suffixes.contains(QFileInfo(options.Output).suffix().toLower()))
        throw EToolError(
            QStringLiteral("cannot tell the picture format of \"%1\": use .bmp, .jpg, .jpeg, .emf or .png").arg(options.Output));
    return options;
}

void RenderGraphFile(const TRenderOptions& options)
{
    TEgoNetGraphDisplay view;
    view.resize(options.Size);
    TGraphDocument document(view);
    OpenGraph(document, options.Input);
    if (options.Fit)
        view.BestFit();

    const QRect client(0, 0, view.width(), view.height());
    if (QFileInfo(options.Output).suffix().compare("png", Qt::CaseInsensitive) == 0) {
        // The picture the save command would write, in the format people expect here.
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QString error;
        if (!TGraphPrinter(&view, client).Picture().save(&buffer, "PNG") ||
            !WriteFileAtomically(options.Output, bytes, error))
            throw EToolError(QStringLiteral("cannot write \"%1\": %2").arg(options.Output, error));
        return;
    }
    TGraphOutput output;
    view.SetOutput(&output);
    if (!view.SaveImage(options.Output, options.Depth))
        throw EToolError(QStringLiteral("cannot write \"%1\"").arg(options.Output));
}
