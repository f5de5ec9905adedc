#pragma once

#include "view/IGraphOutput.h"

class QPrinter;

// Printing and picture export for the graph view: a graph printer for each request.
class TGraphOutput : public IGraphOutput
{
public:
    // Prints on this printer (as set up in a print dialog; not owned) instead of the default one.
    void UsePrinter(QPrinter* printer) { FPrinter = printer; }

    bool PrinterAvailable() override;
    bool PrintPicture(QWidget& view, const QRect& rect) override;
    bool SavePicture(QWidget& view, const QRect& rect, const QString& fileName, int depth) override;

private:
    QPrinter* FPrinter = nullptr;
};
