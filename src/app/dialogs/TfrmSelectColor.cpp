#include "app/dialogs/TfrmSelectColor.h"

#include "app/dialogs/DialogRunner.h"
#include "app/dialogs/ModalResult.h"
#include "app/dialogs/TColorGrid64.h"
#include "ui_TfrmSelectColor.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

TfrmSelectColor::TfrmSelectColor(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowCloseButtonHint)
    , FUi(std::make_unique<Ui::TfrmSelectColor>())
{
    FUi->setupUi(this);
    TColorGrid64& grid = ColorGrid();
    grid.AutoSelect = true;
    grid.SetCtl3D(false);
    grid.SetForegroundEnabled(false);
    grid.SetBackgroundEnabled(false);
    grid.OnMouseDown = [this](QObject* sender) { ColorGridMouseDown(sender); };
    grid.OnMouseUp = [this](QObject* sender) { ColorGridMouseUp(sender); };
}

TfrmSelectColor::~TfrmSelectColor() = default;

int TfrmSelectColor::WindowHeight()
{
    return TfrmSelectColor().FrameSize().height();
}

QSize TfrmSelectColor::FrameSize()
{
    // The window system reports its frame only for a window that exists; a hidden one is
    // created here so that the frame counts before the window is first shown.
    winId();
    return size().grownBy(windowHandle()->frameMargins());
}

TColorGrid64& TfrmSelectColor::ColorGrid() const
{
    return *FUi->ColorGrid;
}

void TfrmSelectColor::ColorGridMouseDown(QObject*)
{
    // The selection follows the pointer, so it is the cell pressed.
    FPickedColor = ColorGrid().SelectionColor();
}

void TfrmSelectColor::ColorGridMouseUp(QObject*)
{
    accept();
}

int ShowColorPicker(uint32_t& colour, int x, int y)
{
    TfrmSelectColor form;
    form.ColorGrid().SetSelection(TColorGrid64::IndexOfColor(colour));
    if (x >= 0 && y >= 0) {
        const QSize size = form.FrameSize();
        QRect frame(QPoint(x - size.width() - 1, y), size);
        if (frame.left() < 0)
            frame.moveLeft(x + 1);
        const QScreen* screen = QGuiApplication::screenAt(QPoint(x, y));
        const QRect workArea = (screen ? screen : form.screen())->availableGeometry();
        if (frame.bottom() > workArea.bottom())
            frame.moveTop(y - frame.height());
        form.move(frame.topLeft());
    }
    const int result = ModalResult(DialogRunner().Exec(form));
    if (result == kModalOK)
        colour = form.PickedColor();
    return result;
}
