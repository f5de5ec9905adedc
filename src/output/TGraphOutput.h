#pragma once

#include "view/IGraphOutput.h"

// Printing and picture export for the graph view: a graph printer for each request.
class TGraphOutput : public IGraphOutput
{
public:
    bool PrinterAvailable() override;
    bool PrintPicture(QWidget& view, const QRect& rect) override;
    bool SavePicture(QWidget& view, const QRect& rect, const QString& fileName, int depth) override;
};
