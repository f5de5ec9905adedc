#include "app/dialogs/TColorGrid64.h"

#include "foundation/Colors.h"
#include "view/ViewEvents.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <qdrawutil.h>

#include <algorithm>

namespace {

// A one-pixel pen outlines one pixel beyond a rectangle's right and bottom edges; this keeps
// the outline inside.
QRect Outline(const QRect& rect)
{
    return rect.adjusted(0, 0, -1, -1);
}

// Black on bright channels, full on dark ones, so a label is readable on every cell.
QColor ContrastOf(const QColor& colour)
{
    const auto channel = [](int value) { return value >= 128 ? 0 : 255; };
    return QColor(channel(colour.red()), channel(colour.green()), channel(colour.blue()));
}

} // namespace

const std::array<uint32_t, TColorGrid64::CellCount> TColorGrid64::Palette = {
    0x00009A, 0x00669A, 0x006600, 0x404000, 0x673333, 0x800040, 0x300040, 0x555555,
    0x0033FF, 0x0099CC, 0x009900, 0x808000, 0x993300, 0x9A6666, 0x600080, 0x717171,
    0x4A79FF, 0x00CCFF, 0x33CB67, 0xBFBF00, 0xCB6600, 0xCC6667, 0x8F00BF, 0x8D8D8D,
    0x3499FF, 0x00FFFF, 0x00DD00, 0xE6E600, 0xD68200, 0xCD9999, 0xBF00FF, 0xAAAAAA,
    0x66CCFF, 0x99FFFE, 0x00FF00, 0xFFFF00, 0xFF9900, 0xFF999A, 0xDF80FF, 0xC6C6C6,
    0x9DDBFF, 0xC1FFFF, 0x66FE9A, 0xFFFFAA, 0xFFCD99, 0xFFCCCC, 0xEFBFFF, 0xE2E2E2,
    0xD9F5FF, 0xD9FFFF, 0xDDFFDE, 0xFFFEDF, 0xFFF1DD, 0xFFECEC, 0xFFECFF, 0xF2F2F2,
    0x000000, 0x0000FF, 0x808000, 0xFF0000, 0x800080, 0x00FF00, 0x00FFFF, 0xFFFFFF,
};

TColorGrid64::TColorGrid64(QWidget* parent)
    : QWidget(parent)
{
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
    // Moves without a button reach the control only with tracking; AutoSelect needs them.
    setMouseTracking(true);
    resize(120, 128);
}

int TColorGrid64::IndexOfColor(uint32_t colour)
{
    const auto found = std::find(Palette.begin(), Palette.end(), colour);
    return found == Palette.end() ? -1 : int(found - Palette.begin());
}

void TColorGrid64::SetSelection(int value)
{
    FSelection = value;
    update();
}

uint32_t TColorGrid64::SelectionColor() const
{
    return FSelection >= 0 && FSelection < CellCount ? Palette[FSelection] : 0;
}

void TColorGrid64::SetForegroundIndex(int value)
{
    SetMark(FForegroundIndex, FForegroundEnabled, value);
}

void TColorGrid64::SetBackgroundIndex(int value)
{
    SetMark(FBackgroundIndex, FBackgroundEnabled, value);
}

void TColorGrid64::SetMark(int& mark, bool enabled, int value)
{
    if (value == mark || !enabled)
        return;
    mark = value;
    update();
    Raise(OnChange, this);
}

void TColorGrid64::SetForegroundEnabled(bool value)
{
    FForegroundEnabled = value;
    update();
}

void TColorGrid64::SetBackgroundEnabled(bool value)
{
    FBackgroundEnabled = value;
    update();
}

void TColorGrid64::SetCtl3D(bool value)
{
    FCtl3D = value;
    update();
}

void TColorGrid64::Mark(bool background, int index)
{
    bool& enabled = background ? FBackgroundEnabled : FForegroundEnabled;
    int& mark = background ? FBackgroundIndex : FForegroundIndex;
    if (!enabled && ClickEnablesColor) {
        // Forgetting the old index makes the new one a change, which OnChange reports.
        enabled = true;
        mark = -1;
    }
    SetMark(mark, enabled, index);
}

QRect TColorGrid64::CellRect(int index) const
{
    const int width = this->width() / Columns;
    const int height = this->height() / Rows;
    return QRect(index % Columns * width, index / Columns * height, width, height);
}

int TColorGrid64::CellAt(QPoint point) const
{
    const int x = qBound(0, point.x(), width() - 1);
    const int y = qBound(0, point.y(), height() - 1);
    // A control narrower than eight pixels has empty cells; everything is then cell 0.
    return y / std::max(1, height() / Rows) * Columns + x / std::max(1, width() / Columns);
}

QString TColorGrid64::LabelAt(int index) const
{
    const bool shared = FForegroundIndex == FBackgroundIndex && FBackgroundEnabled;
    if (FForegroundEnabled && index == FForegroundIndex)
        return shared ? QStringLiteral("FB") : QStringLiteral("FG");
    if (FBackgroundEnabled && index == FBackgroundIndex)
        return shared ? QStringLiteral("FB") : QStringLiteral("BG");
    return {};
}

void TColorGrid64::DrawCell(QPainter& painter, int index, bool highlighted) const
{
    if (index < 0 || index >= CellCount)
        return;
    const QRect cell = CellRect(index);
    const QColor colour = ToQColor(Palette[index]);
    painter.setBrush(Qt::NoBrush);
    if (FCtl3D) {
        painter.setPen(palette().color(QPalette::Button));
        painter.drawRect(Outline(cell));
        // A sunken frame two pixels wide, shadow top-left and highlight bottom-right.
        qDrawShadePanel(&painter, cell.adjusted(1, 1, -1, -1), palette(), true, 2);
        const QRect inside = cell.adjusted(3, 3, -3, -3);
        painter.fillRect(inside, colour);
        if (highlighted) {
            painter.setPen(QPen(ContrastOf(colour), 1, Qt::DotLine));
            painter.drawRect(Outline(inside.adjusted(1, 1, -1, -1)));
        }
    } else if (highlighted) {
        // Drawn over the plain cell, which shows through inside the two frames.
        painter.setPen(Qt::white);
        painter.drawRect(Outline(cell));
        painter.drawRect(Outline(cell.adjusted(1, 1, -1, -1)));
    } else {
        painter.fillRect(cell, colour);
        painter.setPen(Qt::black);
        painter.drawRect(Outline(cell));
    }
}

void TColorGrid64::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    for (int i = 0; i < CellCount; ++i)
        DrawCell(painter, i, false);
    if (hasFocus())
        DrawCell(painter, FSelection, true);
    for (int i = 0; i < CellCount; ++i) {
        const QString label = LabelAt(i);
        if (label.isEmpty())
            continue;
        painter.setPen(ContrastOf(ToQColor(Palette[i])));
        painter.drawText(CellRect(i), Qt::AlignCenter | Qt::TextSingleLine, label);
    }
}

void TColorGrid64::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // All cells get the same whole-pixel size.
    const QSize whole(width() / Columns * Columns, height() / Rows * Rows);
    if (whole != size())
        resize(whole);
}

void TColorGrid64::mousePressEvent(QMouseEvent* event)
{
    // Qt keeps the mouse captured for the control while a button is held, right or left.
    FButton = event->button();
    FButtonHeld = true;
    const int cell = CellAt(event->position().toPoint());
    if (FButton == Qt::LeftButton)
        Mark(false, cell);
    else if (FButton == Qt::RightButton)
        Mark(true, cell);
    SetSelection(cell);
    Raise(OnMouseDown, this);
}

void TColorGrid64::mouseMoveEvent(QMouseEvent* event)
{
    if (AutoSelect || FButtonHeld)
        SetSelection(CellAt(event->position().toPoint()));
}

void TColorGrid64::mouseReleaseEvent(QMouseEvent* event)
{
    FButtonHeld = false;
    const bool leftClick = event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    if (FButton == Qt::RightButton || leftClick)
        Raise(OnClick, this);
    Raise(OnMouseUp, this);
}

void TColorGrid64::keyPressEvent(QKeyEvent* event)
{
    constexpr int last = CellCount - 1;
    const int s = FSelection;
    const QString letter = event->text().toUpper();
    switch (event->key()) {
    case Qt::Key_Right:
    case Qt::Key_Space:
        SetSelection(s >= last ? 0 : s + 1);
        break;
    case Qt::Key_Left:
        SetSelection(s <= 0 ? last : s - 1);
        break;
    case Qt::Key_Home:
        SetSelection(0);
        break;
    case Qt::Key_End:
        SetSelection(last);
        break;
    case Qt::Key_Up:
        // Off the top row into the bottom row one column to the left; 0 into the last cell.
        SetSelection(s == 0 ? last : s < Columns ? s + last - Columns : s - Columns);
        break;
    case Qt::Key_Down:
        // Off the bottom row into the top row one column to the right; the last cell into 0.
        SetSelection(s == last ? 0 : s > last - Columns ? s % Columns + 1 : s + Columns);
        break;
    default:
        if (letter != QLatin1String("F") && letter != QLatin1String("B")) {
            QWidget::keyPressEvent(event);
            return;
        }
        Mark(letter == QLatin1String("B"), s);
        Raise(OnClick, this);
    }
    event->accept();
}
