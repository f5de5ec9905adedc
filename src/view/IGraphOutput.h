#pragma once

#include <QRect>
#include <QString>

class QWidget;

// Printing and picture export, as the graph view asks for them. The output library, which sits
// above the view, implements it; the program and the tool install it into the view.
class IGraphOutput
{
public:
    virtual ~IGraphOutput() = default;

    // At least one printer is installed.
    virtual bool PrinterAvailable() = 0;
    // Prints what the view shows inside rect on one landscape page. May throw; the view turns
    // that into a failure.
    virtual bool PrintPicture(QWidget& view, const QRect& rect) = 0;
    // Saves what the view shows inside rect as a picture whose format follows the file name's
    // extension (bmp at depth 1, 4, 8 or 24, jpg/jpeg, emf); false for any other extension or
    // when writing fails. May throw, as above.
    virtual bool SavePicture(QWidget& view, const QRect& rect, const QString& fileName, int depth) = 0;
};
