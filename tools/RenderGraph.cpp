#include "RenderGraph.h"

#include "foundation/AtomicFileWriter.h"
#include "output/TGraphOutput.h"
#include "output/TGraphPrinter.h"
#include "settings/GraphFile.h"
#include "view/TEgoNetGraphDisplay.h"

#include <QBuffer>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

namespace {

const QStringList kPictureSuffixes{"bmp", "jpg", "jpeg", "emf", "png"};

} // namespace

TRenderOptions ParseRenderOptions(const QStringList& arguments)
{
    TRenderOptions options;
    QStringList files;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == "--fit") {
            options.Fit = true;
        } else if (argument == "--size" || argument == "--depth") {
            if (++i == arguments.size())
                throw ERenderError(QStringLiteral("%1 needs a value").arg(argument));
            const QString& value = arguments[i];
            if (argument == "--size") {
                static const QRegularExpression pattern(QStringLiteral("^([0-9]{1,5})x([0-9]{1,5})$"));
                const QRegularExpressionMatch match = pattern.match(value);
                options.Size = match.hasMatch() ? QSize(match.captured(1).toInt(), match.captured(2).toInt()) : QSize();
                if (options.Size.width() < 1 || options.Size.height() < 1 || options.Size.width() > 20000 ||
                    options.Size.height() > 20000)
                    throw ERenderError(QStringLiteral("--size wants WIDTHxHEIGHT, each 1 to 20000, not \"%1\"").arg(value));
            } else {
                bool ok = false;
                options.Depth = value.toInt(&ok);
                if (!ok || (options.Depth != 1 && options.Depth != 4 && options.Depth != 8 && options.Depth != 24))
                    throw ERenderError(QStringLiteral("--depth wants 1, 4, 8 or 24, not \"%1\"").arg(value));
            }
        } else if (argument.startsWith("--")) {
            throw ERenderError(QStringLiteral("unknown option \"%1\"").arg(argument));
        } else {
            files << argument;
        }
    }
    if (files.size() != 2)
        throw ERenderError(QStringLiteral("render wants IN.eng OUT (see --help)"));
    options.Input = files[0];
    options.Output = files[1];
    const QString suffix = QFileInfo(options.Output).suffix().toLower();
    if (!kPictureSuffixes.contains(suffix))
        throw ERenderError(
            QStringLiteral("cannot tell the picture format of \"%1\": use .bmp, .jpg, .jpeg, .emf or .png").arg(options.Output));
    return options;
}

void RenderGraphFile(const TRenderOptions& options)
{
    TEgoNetGraphDisplay view;
    view.resize(options.Size);
    TGraphHeader header;
    if (!ReadGraphFile(options.Input, header, view.Settings(), view.Model(), [&] { view.ApplySettings(); }))
        throw ERenderError(QStringLiteral("\"%1\" is not a graph file").arg(options.Input));
    view.Caption = header.Caption;
    view.Description = header.Description;
    view.UpdateCurrent();
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
            throw ERenderError(QStringLiteral("cannot write \"%1\": %2").arg(options.Output, error));
        return;
    }
    TGraphOutput output;
    view.SetOutput(&output);
    if (!view.SaveImage(options.Output, options.Depth))
        throw ERenderError(QStringLiteral("cannot write \"%1\"").arg(options.Output));
}
