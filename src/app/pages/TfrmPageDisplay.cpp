#include "app/pages/TfrmPageDisplay.h"

#include "app/dialogs/ModalResult.h"
#include "app/dialogs/TfrmSelectColor.h"
#include "app/grids/GridHelpers.h"
#include "app/grids/TListGrid.h"
#include "app/pages/PageForm.h"
#include "foundation/Colors.h"
#include "foundation/Rounding.h"
#include "foundation/TAttributes.h"
#include "foundation/UserDialogs.h"
#include "ui_TfrmPageDisplay.h"
#include "view/TEgoNetGraphEx.h"

#include <QGuiApplication>
#include <QHash>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScreen>
#include <QSet>

#include <numeric>

namespace {

constexpr uint32_t kSwatchFrame = 0x00B99D7F;

int Channel(uint32_t colour, int shift)
{
    return int((colour >> shift) & 0xFF);
}

// Each channel step / 255 of the way from start to end.
uint32_t Mix(uint32_t start, uint32_t end, int step)
{
    uint32_t mixed = 0;
    for (const int shift : {0, 8, 16}) {
        const int channel = Channel(start, shift) + MulDiv(step, Channel(end, shift) - Channel(start, shift), 255);
        mixed |= uint32_t(channel & 0xFF) << shift;
    }
    return mixed;
}

// True when the grid lists exactly the names, in any order and letter case.
bool ListsNames(const TListGrid& grid, const QStringList& names)
{
    if (grid.RowCount() - grid.FixedRows() != names.size())
        return false;
    QSet<QString> wanted;
    for (const QString& name : names)
        wanted.insert(name.toCaseFolded());
    for (int row = grid.FixedRows(); row < grid.RowCount(); ++row)
        if (!wanted.contains(grid.Cell(1, row).toCaseFolded()))
            return false;
    return true;
}

// Calls place(object, p) for each object that has the attribute, with p from 0 at the lowest of
// values to scale at the highest: numbers by their value (a missing value counts as the lowest),
// texts by their rank in values. False, and nothing placed, when values is empty.
template <typename Object, typename Place>
bool PlaceByValue(const QList<Object*>& objects, const QString& attribute, QStringList& values, double scale,
                  Place place)
{
    if (values.isEmpty())
        return false;
    QString value;
    if (AllNumericOrMissing(values)) {
        SortValuesNumerically(values);
        float lo = 0;
        float hi = 0;
        TEgoNetModel::NumericRange(values, lo, false, hi);
        float range = hi - lo;
        if (!(range > 0))
            range = 1;
        for (Object* object : objects) {
            double x = lo;
            if (!object->Attributes.GetValue(attribute, value))
                continue;
            // Values come from the shown links only, so a hidden one may hold text: it keeps
            // what it has.
            if (!IsMissingValue(value) && !TextToFloat(value, x))
                continue;
            place(object, float((x - lo) * scale / range));
        }
        return true;
    }
    // Ranks by a hash rather than a search of the list, which would be quadratic in the number
    // of distinct values. Case-folded, as the model tells values apart.
    QHash<QString, int> ranks;
    ranks.reserve(values.size());
    for (int i = 0; i < values.size(); ++i)
        ranks.insert(values[i].toCaseFolded(), i);
    const int last = std::max(int(values.size()) - 1, 1);
    for (Object* object : objects)
        if (object->Attributes.GetValue(attribute, value))
            place(object, float(ranks.value(value.toCaseFolded(), -1) * scale / last));
    return true;
}

} // namespace

TfrmPageDisplay::TfrmPageDisplay(QWidget* parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::TfrmPageDisplay>())
{
    SetUpPage(*this, *ui);

    // The lower sections keep their heights; the link types take what the page grows or shrinks by.
    QSplitter& sections = *ui->splSections;
    const QList<int> lower{133, 180, 150};
    const int handles = int(lower.size()) * sections.handleWidth();
    const int rest = height() - std::accumulate(lower.cbegin(), lower.cend(), 0) - handles;
    sections.setSizes(QList<int>{rest} + lower);
    sections.setStretchFactor(0, 1);

    for (const auto& [grid, caption] : {std::pair{ui->asgLinkTypes, "Name"}, std::pair{ui->asgAttrWidth, "Name"},
                                        std::pair{ui->asgAttrVal, "Value"}, std::pair{ui->asgAttrColor, "Name"}}) {
        PrepareGrid(*grid, true);
        grid->SetCell(1, 0, QString::fromLatin1(caption));
        grid->setColumnWidth(0, 16);
        grid->setColumnWidth(1, 205);
    }
    ConnectCheckGrid(*ui->asgLinkTypes, ui->ToolButton4, ui->ToolButton5, &TfrmPageDisplay::ApplyLinkTypeFilter);
    ConnectCheckGrid(*ui->asgAttrVal, ui->ToolButton10, ui->ToolButton11, &TfrmPageDisplay::ApplyPersonFilter);
    ConnectRadioGrid(*ui->asgAttrWidth, &TfrmPageDisplay::ApplyWidthMapping);
    ConnectRadioGrid(*ui->asgAttrColor, &TfrmPageDisplay::ApplyColorMapping);
    connect(ui->cbAttribute, &QComboBox::activated, this, &TfrmPageDisplay::cbAttributeClick);
    for (QLabel* control : {ui->lbResetWidth, ui->lbResetColors, ui->Image1, ui->Image2})
        control->installEventFilter(this);
    // The grids are still empty, so this only sets the widths and colours.
    lbResetWidthClick();
    lbResetColorsClick();
}

TfrmPageDisplay::~TfrmPageDisplay() = default;

TEgoNetModel* TfrmPageDisplay::Model() const
{
    return FHost ? &FHost->Graph().Model() : nullptr;
}

void TfrmPageDisplay::GraphEdited()
{
    // Colours, widths and visibility are saved with the graph: closing must offer to save them.
    FHost->Graph().Edited(QStringLiteral("Change Display"));
    FHost->Graph().update();
}

void TfrmPageDisplay::ConnectCheckGrid(TListGrid& grid, QToolButton* all, QToolButton* none, TApply apply)
{
    connect(all, &QToolButton::clicked, this, [this, &grid, apply] { CheckAll(grid, true, apply); });
    connect(none, &QToolButton::clicked, this, [this, &grid, apply] { CheckAll(grid, false, apply); });
    connect(&grid, &QTableWidget::itemChanged, this, [this, apply](QTableWidgetItem* item) {
        if (!FChecking && item->column() == 0)
            (this->*apply)();
    });
    connect(&grid, &QTableWidget::cellClicked, this, [this, &grid, apply](int row, int column) {
        if (column != 1)
            return;
        {
            const QScopedValueRollback checking(FChecking, true);
            ToggleCheck(grid, row + grid.FixedRows(), 0);
        }
        (this->*apply)();
    });
}

void TfrmPageDisplay::ConnectRadioGrid(TListGrid& grid, void (TfrmPageDisplay::*apply)(int))
{
    // The grid has deselected the other rows' buttons by the time the click arrives here.
    connect(&grid, &QTableWidget::itemClicked, this, [this, &grid, apply](QTableWidgetItem* item) {
        if (item->column() == 0 && item->checkState() == Qt::Checked)
            (this->*apply)(item->row() + grid.FixedRows());
    });
}

void TfrmPageDisplay::CheckAll(TListGrid& grid, bool checked, TApply apply)
{
    {
        const QScopedValueRollback checking(FChecking, true);
        SetAllChecks(grid, checked, 0);
    }
    (this->*apply)();
}

// Lists

void TfrmPageDisplay::AttachGraph(TEgoNetGraphEx* host)
{
    if (host)
        FHost = host;
    if (FHost)
        ListGraph(false);
}

void TfrmPageDisplay::RefreshLists()
{
    if (FHost)
        ListGraph(true);
}

void TfrmPageDisplay::ListGraph(bool keep)
{
    const TEgoNetModel& model = *Model();
    QStringList names;
    model.CollectLinkTypes(names, false, nullptr);
    if (FillNames(*ui->asgLinkTypes, names, false, keep))
        CheckAll(*ui->asgLinkTypes, true, &TfrmPageDisplay::ApplyLinkTypeFilter);

    model.LinkAttrNames(names);
    FillNames(*ui->asgAttrWidth, names, true, keep);

    model.NodeAttrNames(names);
    if (!keep) {
        OfferAttributes(names);
        // No person has the empty attribute, so this shows every person again.
        ApplyPersonFilter();
    } else if (!names.contains(ui->cbAttribute->currentText(), Qt::CaseInsensitive)) {
        OfferAttributes(names);
        TListGrid& values = *ui->asgAttrVal;
        values.SetRowCount(std::min(values.RowCount(), values.FixedRows() + 1));
    }
    FillNames(*ui->asgAttrColor, names, true, keep);
}

bool TfrmPageDisplay::FillNames(TListGrid& grid, const QStringList& names, bool radio, bool keep)
{
    if (keep && ListsNames(grid, names))
        return false;
    const QScopedValueRollback checking(FChecking, true);
    FillWithTexts(grid, names, true, radio);
    return true;
}

void TfrmPageDisplay::OfferAttributes(const QStringList& names)
{
    ui->cbAttribute->clear();
    ui->cbAttribute->addItems(names);
    ui->cbAttribute->setCurrentIndex(-1);
}

void TfrmPageDisplay::cbAttributeClick()
{
    QStringList values;
    if (const TEgoNetModel* model = Model())
        model->NodeAttrValues(ui->cbAttribute->currentText(), values, false);
    const QScopedValueRollback checking(FChecking, true);
    FillWithTexts(*ui->asgAttrVal, values, true, false);
    SetAllChecks(*ui->asgAttrVal, true, 0);
}

// Applying to the graph

void TfrmPageDisplay::ApplyLinkTypeFilter()
{
    const TListGrid& grid = *ui->asgLinkTypes;
    TEgoNetModel* model = Model();
    if (!model || grid.RowCount() <= grid.FixedRows())
        return;
    QStringList types;
    GetCheckedTexts(grid, types, 0, 1);
    model->SelectAll(false);
    FHost->Graph().SelectLinkTypes(&types);
}

void TfrmPageDisplay::ApplyPersonFilter()
{
    const TListGrid& grid = *ui->asgAttrVal;
    TEgoNetModel* model = Model();
    if (!model || grid.RowCount() <= grid.FixedRows())
        return;
    const QString attribute = ui->cbAttribute->currentText();
    QStringList checked;
    GetCheckedTexts(grid, checked, 0, 1);
    // A set, not a list: every person looks its value up.
    QSet<QString> wanted;
    for (const QString& value : std::as_const(checked))
        wanted.insert(value.toLower());
    QString value;
    for (TOrganizedNode* person : model->Nodes()) {
        person->Enabled = !person->Attributes.GetValue(attribute, value) || wanted.contains(value.toLower());
        person->Visible = person->Enabled;
    }
    GraphEdited();
}

void TfrmPageDisplay::ApplyWidthMapping(int row)
{
    TEgoNetModel* model = Model();
    const QString attribute = ui->asgAttrWidth->Cell(1, row);
    if (!model || attribute.isEmpty())
        return;
    const int start = ui->SpinEdit1->value();
    const int end = ui->SpinEdit2->value();
    if (end < start) {
        UserDialogs().Show(QStringLiteral("End width must be equal or greater thar Start width."),
                           TMessageKind::Information);
        return;
    }
    QStringList values;
    model->LinkAttrValues(attribute, values, false);
    // Hidden links are widened as well, by the values of the shown ones.
    if (PlaceByValue(model->Links(), attribute, values, 1.0, [start, end](TEgoNetEdge* link, float f) {
            link->Width = start + RoundHalfEven((end - start) * double(f));
        }))
        GraphEdited();
}

void TfrmPageDisplay::ApplyColorMapping(int row)
{
    TEgoNetModel* model = Model();
    const QString attribute = ui->asgAttrColor->Cell(1, row);
    if (!model || attribute.isEmpty())
        return;
    QStringList values;
    model->NodeAttrValues(attribute, values, false);
    if (PlaceByValue(model->Nodes(), attribute, values, 100.0, [this](TOrganizedNode* person, float percent) {
            person->Color = BlendColor(FStartColor, FEndColor, percent);
        }))
        GraphEdited();
}

// Colours

uint32_t TfrmPageDisplay::BlendColor(uint32_t start, uint32_t end, double percent)
{
    const double p = percent >= 0 ? std::min(percent, 100.0) : 0.0;
    return Mix(start, end, RoundHalfEven(p * 255 / 100));
}

void TfrmPageDisplay::PaintGradient(QPainter& canvas, const QRect& rect, uint32_t start, bool vertical, uint32_t end)
{
    // Each stripe replaces what is under it.
    canvas.setCompositionMode(QPainter::CompositionMode_Source);
    const int origin = vertical ? rect.top() : rect.left();
    const int length = vertical ? rect.height() : rect.width();
    for (int i = 0; i < 256; ++i) {
        const int from = origin + MulDiv(i, length, 256);
        const int to = origin + MulDiv(i + 1, length, 256);
        const QRect stripe = vertical ? QRect(rect.left(), from, rect.width(), to - from)
                                      : QRect(from, rect.top(), to - from, rect.height());
        canvas.fillRect(stripe, ToQColor(Mix(start, end, i)));
    }
}

void TfrmPageDisplay::ShowSwatch(QLabel& swatch, uint32_t colour)
{
    QPixmap picture(swatch.size());
    QPainter canvas(&picture);
    canvas.setPen(ToQColor(kSwatchFrame));
    canvas.setBrush(ToQColor(colour));
    canvas.drawRect(picture.rect().adjusted(0, 0, -1, -1));
    canvas.end();
    swatch.setPixmap(picture);
}

void TfrmPageDisplay::ShowColors()
{
    ShowSwatch(*ui->Image1, FStartColor);
    ShowSwatch(*ui->Image2, FEndColor);
    QPixmap bar(ui->Image3->size());
    QPainter canvas(&bar);
    PaintGradient(canvas, bar.rect(), FStartColor, false, FEndColor);
    canvas.end();
    ui->Image3->setPixmap(bar);
}

void TfrmPageDisplay::PickColor(uint32_t& colour, QPoint globalPos)
{
    // The picker opens upwards from the point where it would reach below the work area.
    const QScreen* screen = QGuiApplication::screenAt(globalPos);
    const QRect workArea = (screen ? screen : this->screen())->availableGeometry();
    const int pickerHeight = TfrmSelectColor::WindowHeight();
    if (globalPos.y() + pickerHeight > workArea.bottom() + 1)
        globalPos.ry() -= pickerHeight;
    if (ShowColorPicker(colour, globalPos.x(), globalPos.y()) == kModalOK)
        ShowColors();
}

// Resets

void TfrmPageDisplay::lbResetWidthClick()
{
    ui->SpinEdit1->setValue(DefaultStartWidth);
    ui->SpinEdit2->setValue(DefaultEndWidth);
    SetAllChecks(*ui->asgAttrWidth, false, 0);
}

void TfrmPageDisplay::lbResetColorsClick()
{
    FStartColor = DefaultStartColor;
    FEndColor = DefaultEndColor;
    ShowColors();
    SetAllChecks(*ui->asgAttrColor, false, 0);
}

bool TfrmPageDisplay::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress && (watched == ui->Image1 || watched == ui->Image2)) {
        const QPoint at = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
        PickColor(watched == ui->Image1 ? FStartColor : FEndColor, at);
        return true;
    }
    if (type == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == ui->lbResetWidth)
            lbResetWidthClick();
        else if (watched == ui->lbResetColors)
            lbResetColorsClick();
        else
            return false;
        return true;
    }
    return false;
}
