#pragma once

#include "view/TGraphEvents.h"

#include <QWidget>

#include <array>
#include <cstdint>

// The fixed 64-colour palette as an 8 x 8 grid of cells (index = row * 8 + column). The user
// moves the selection with the mouse or the keys and may mark a foreground (left button, F)
// and a background colour (right button, B), labelled "FG", "BG" or "FB" when they coincide.
// The control's size is always a multiple of 8 in both directions; the selection is
// highlighted while the control has the focus (Qt repaints a control on focus changes).
class TColorGrid64 : public QWidget
{
    Q_OBJECT

public:
    static constexpr int CellCount = 64;
    static constexpr int Columns = 8;
    static constexpr int Rows = 8;
    // Colours 0x00BBGGRR, row by row.
    static const std::array<uint32_t, CellCount> Palette;

    explicit TColorGrid64(QWidget* parent = nullptr);

    // The first index holding the colour, -1 when the palette lacks it.
    static int IndexOfColor(uint32_t colour);

    int Selection() const { return FSelection; }
    void SetSelection(int value);
    // Black while the selection is outside the grid.
    uint32_t SelectionColor() const;
    int ForegroundIndex() const { return FForegroundIndex; }
    void SetForegroundIndex(int value);
    int BackgroundIndex() const { return FBackgroundIndex; }
    void SetBackgroundIndex(int value);
    bool ForegroundEnabled() const { return FForegroundEnabled; }
    void SetForegroundEnabled(bool value);
    bool BackgroundEnabled() const { return FBackgroundEnabled; }
    void SetBackgroundEnabled(bool value);
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool value);
    // A click or key that sets a disabled mark enables it first.
    bool ClickEnablesColor = false;
    // The selection follows the pointer without a button held.
    bool AutoSelect = false;

    QRect CellRect(int index) const;
    // The cell under a point, clamped into the control.
    int CellAt(QPoint point) const;
    // The text painted in a cell: "FG", "BG", "FB" or nothing.
    QString LabelAt(int index) const;

    // A mark changed.
    TNotifyEvent OnChange;
    // A left click, the release of the right button, or the keys F and B.
    TNotifyEvent OnClick;
    // Raised after the control's own handling of the button.
    TNotifyEvent OnMouseDown;
    TNotifyEvent OnMouseUp;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void DrawCell(QPainter& painter, int index, bool highlighted) const;
    // A click or key setting the foreground or background mark.
    void Mark(bool background, int index);
    void SetMark(int& mark, bool enabled, int value);

    int FSelection = 0;
    int FForegroundIndex = 0;
    int FBackgroundIndex = 0;
    bool FForegroundEnabled = true;
    bool FBackgroundEnabled = true;
    bool FCtl3D = false;
    Qt::MouseButton FButton = Qt::NoButton;
    bool FButtonHeld = false;
};
