#pragma once

#include <QString>

class QWidget;

// The file dialogs for person pictures, shown through the program's dialog runner. Each gives the
// chosen file, or an empty text when the user cancelled.

// " Load Image": bitmaps or JPEG pictures (JPEG offered first), with a preview of the picture
// under the pointer.
QString AskPictureToOpen(QWidget* parent);
// "Save Image": a bitmap file.
QString AskBitmapToSave(QWidget* parent);
