#pragma once

#include <QDialog>

#include <cstdint>
#include <memory>

class TColorGrid64;

namespace Ui {
class TfrmSelectColor;
}

// The colour picker: a small stay-on-top window with the palette grid, whose selection
// follows the pointer. Pressing a button on a cell picks its colour, releasing it closes the
// window with OK; Esc closes it with Cancel.
class TfrmSelectColor : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmSelectColor(QWidget* parent = nullptr);
    ~TfrmSelectColor() override;

    // The height of a picker window, for callers that keep it inside the work area.
    static int WindowHeight();

    // The window's outer size, frame included.
    QSize FrameSize();
    TColorGrid64& ColorGrid() const;
    // Black until a cell is pressed.
    uint32_t PickedColor() const { return FPickedColor; }

private:
    void ColorGridMouseDown(QObject* sender);
    void ColorGridMouseUp(QObject* sender);

    std::unique_ptr<Ui::TfrmSelectColor> FUi;
    uint32_t FPickedColor = 0;
};

// Shows the picker with the colour's cell selected (none when the palette lacks it) and returns
// kModalOK, having stored the picked colour in colour, or kModalCancel, leaving it unchanged.
// With x and y not negative, the window sits left of that screen point (right of it when there
// is no room) with its top at y, or its bottom at y when it would pass the bottom of the work
// area; otherwise it appears where the system puts it.
int ShowColorPicker(uint32_t& colour, int x, int y);
