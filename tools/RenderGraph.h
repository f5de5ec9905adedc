#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

// What render was asked to do.
struct TRenderOptions
{
    QString Input;
    QString Output;
    QSize Size{800, 600};
    int Depth = 24;
    bool Fit = false;
};

// IN.eng OUT [--size WxH] [--depth 1|4|8|24] [--fit]; raises EToolError on anything else.
TRenderOptions ParseRenderOptions(const QStringList& arguments);

// Loads the graph file into a view of the given client size as opening a file does, fits it when
// asked, and saves the picture as the program's save command does (.bmp, .jpg/.jpeg, .emf) or as
// PNG. Raises EToolError or EStreamError with the reason; needs a QApplication.
void RenderGraphFile(const TRenderOptions& options);
