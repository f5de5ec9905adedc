#include "output/TGraphOutput.h"

#include "output/TGraphPrinter.h"

bool TGraphOutput::PrinterAvailable()
{
    return TGraphPrinter::PrinterAvailable();
}

bool TGraphOutput::PrintPicture(QWidget& view, const QRect& rect)
{
    TGraphPrinter printer(&view, rect);
    return FPrinter ? printer.PrintPicture(*FPrinter) : printer.PrintPicture();
}

bool TGraphOutput::SavePicture(QWidget& view, const QRect& rect, const QString& fileName, int depth)
{
    return TGraphPrinter(&view, rect).SavePicture(fileName, depth);
}
