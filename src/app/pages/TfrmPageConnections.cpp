#include "app/pages/TfrmPageConnections.h"

#include "app/SettingsFiles.h"
#include "app/WindowHelpers.h"
#include "app/dialogs/ModalResult.h"
#include "app/dialogs/TfrmSelectColor.h"
#include "app/grids/GridHelpers.h"
#include "app/grids/PersonListFilter.h"
#include "app/grids/TListGrid.h"
#include "app/pages/GroupEditing.h"
#include "app/pages/PageForm.h"
#include "foundation/Colors.h"
#include "model/ModelConstants.h"
#include "settings/TIniFile.h"
#include "ui_TfrmPageConnections.h"
#include "view/TCursorMan.h"
#include "view/TEgoNetGraphEx.h"
#include "view/ViewEvents.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QSet>

namespace {

constexpr int kColourRole = Qt::UserRole + 3;
const QString kSection = QStringLiteral("LinkTypes");
const QString kStrength = QStringLiteral("strength");

QPixmap Swatch(uint32_t colour)
{
    QPixmap swatch(16, 16);
    swatch.fill(Qt::white);
    QPainter painter(&swatch);
    painter.setPen(Qt::black);
    painter.setBrush(ToQColor(colour));
    painter.drawRect(2, 2, 11, 11);
    return swatch;
}

// A link's identity for "one link per pair and type": its ends in either order and its type
// without regard to case.
struct TLinkKey
{
    quintptr Low;
    quintptr High;
    QString Type;

    bool operator==(const TLinkKey&) const = default;
    friend size_t qHash(const TLinkKey& key, size_t seed = 0) { return qHashMulti(seed, key.Low, key.High, key.Type); }
};

TLinkKey KeyOf(const TEgoNetNode* a, const TEgoNetNode* b, const QString& type)
{
    const auto x = quintptr(a);
    const auto y = quintptr(b);
    const QString name = type.isEmpty() ? kDefaultLinkType : type;
    return {std::min(x, y), std::max(x, y), name.toLower()};
}

} // namespace

const std::array<uint32_t, 16> TfrmPageConnections::DefaultColours = {
    0x00D68200, 0x0000009A, 0x000033FF, 0x00009900, 0x00808000, 0x00993300, 0x00800040, 0x0000FFFF,
    0x003499FF, 0x0000DD00, 0x00E6E600, 0x00D68200, 0x00CC6667, 0x00BF00FF, 0x00FF0000, 0x00800040};

TfrmPageConnections::TfrmPageConnections(QWidget* parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::TfrmPageConnections>())
{
    SetUpPage(*this, *ui);
    // Every link made here is undirected; the choice is not offered.
    for (QWidget* hidden : std::initializer_list<QWidget*>{ui->lblDirection, ui->rbtnUndirected, ui->rbtnDirected})
        hidden->hide();

    for (TListGrid* grid : {&LPersons(), &RPersons()}) {
        grid->SetCell(1, 0, QStringLiteral("Name"));
        grid->setColumnWidth(0, 16);
        connect(grid, &QTableWidget::cellClicked, this, [grid](int row, int column) {
            if (column == 1)
                ToggleCheck(*grid, row + grid->FixedRows(), 0);
        });
    }
    connect(ui->tbLAll, &QToolButton::clicked, this, [this] { SetAllChecks(LPersons(), true, 0); });
    connect(ui->tbLNone, &QToolButton::clicked, this, [this] { SetAllChecks(LPersons(), false, 0); });
    connect(ui->tbRAll, &QToolButton::clicked, this, [this] { SetAllChecks(RPersons(), true, 0); });
    connect(ui->tbRNone, &QToolButton::clicked, this, [this] { SetAllChecks(RPersons(), false, 0); });

    TListGrid& types = LinkTypes();
    types.SetCell(2, 0, QStringLiteral("Name"));
    types.setColumnWidth(0, 16);
    types.setColumnWidth(1, 20);
    types.setColumnWidth(2, 150);
    connect(&types, &QTableWidget::cellClicked, this, &TfrmPageConnections::asgLinkTypesClickCell);
    connect(ui->tbTypesAll, &QToolButton::clicked, this, [this] { SetAllChecks(LinkTypes(), true, 0); });
    connect(ui->tbTypesNone, &QToolButton::clicked, this, [this] { SetAllChecks(LinkTypes(), false, 0); });
    connect(ui->tbTypesNew, &QToolButton::clicked, this, &TfrmPageConnections::tbTypesNewClick);
    connect(ui->tbTypesDelete, &QToolButton::clicked, this, &TfrmPageConnections::tbTypesDeleteClick);
    types.OnEditDone = [this] { FinishEditRow(LinkTypes(), 2); };

    // "0.0" to "1.0" with the user's decimal separator.
    for (int i = 0; i <= 10; ++i)
        ui->cbStrength->addItem(StrengthText(float(i) / 10));
    ui->cbStrength->setCurrentIndex(10);

    connect(ui->btnOtherAttributes, &QPushButton::clicked, this, [this] { Raise(OnOtherAttributes, this); });
    connect(ui->btnCreateLinks, &QPushButton::clicked, this, &TfrmPageConnections::btnCreateLinksClick);
    connect(ui->btnDeleteLinks, &QPushButton::clicked, this, &TfrmPageConnections::btnDeleteClick);
    connect(ui->btnConnectAll, &QPushButton::clicked, this, &TfrmPageConnections::btnConnectAllClick);

    for (QObject* watched : std::initializer_list<QObject*>{ui->lbFilterL, ui->lbShowAllL, ui->lbFilterR, ui->lbShowAllR,
                                                            types.viewport(), &types, ui->cbStrength})
        watched->installEventFilter(this);
}

TfrmPageConnections::~TfrmPageConnections() = default;

TListGrid& TfrmPageConnections::LPersons() const
{
    return *ui->asgLPersons;
}

TListGrid& TfrmPageConnections::RPersons() const
{
    return *ui->asgRPersons;
}

TListGrid& TfrmPageConnections::LinkTypes() const
{
    return *ui->asgLinkTypes;
}

TEgoNetModel* TfrmPageConnections::Model() const
{
    return FHost ? &FHost->Graph().Model() : nullptr;
}

// Link types and their colours

uint32_t TfrmPageConnections::RowColour(int row) const
{
    const QTableWidgetItem* swatch = LinkTypes().item(LinkTypes().ItemRow(row), 1);
    return swatch && swatch->data(kColourRole).isValid() ? swatch->data(kColourRole).toUInt() : 0x00FFFFFF;
}

void TfrmPageConnections::SetRowColour(int row, uint32_t colour)
{
    TListGrid& types = LinkTypes();
    types.SetCell(1, row, QString());
    QTableWidgetItem* swatch = types.item(types.ItemRow(row), 1);
    if (!swatch)
        return;
    swatch->setFlags(Qt::ItemIsEnabled);
    swatch->setData(Qt::DecorationRole, Swatch(colour));
    swatch->setData(kColourRole, colour);
}

void TfrmPageConnections::AttachGraph(TEgoNetGraphEx* host)
{
    TListGrid& types = LinkTypes();
    const QString iniFile = ProgramIniPath();
    // Without a settings file the list keeps the types it has.
    if (FillFromIniSection(types, iniFile, kSection, true)) {
        const TIniFile ini(iniFile);
        for (int row = 1; row < types.RowCount(); ++row) {
            const QString name = types.Cell(1, row);
            types.SetCell(2, row, name);
            bool stored = false;
            const uint32_t colour = ini.ReadString(kSection, name, QString()).toUInt(&stored);
            SetRowColour(row, stored && colour != NoColour ? colour : DefaultColours[size_t((row - 1) % 16)]);
        }
    }
    ClearSelection(types);
    if (const int row = FindRowByText(types, QStringLiteral("is friend of"), 2); row >= 0)
        SetCheck(types, true, row, 0);
    if (host)
        FHost = host;
    if (FHost) {
        RefillPersonLists();
        EnsureStrengthKey();
    }
}

void TfrmPageConnections::RefillPersonLists()
{
    for (TListGrid* grid : {&LPersons(), &RPersons()}) {
        FillWithPersons(*grid, *FHost, true);
        grid->SortByColumn(1);
    }
}

void TfrmPageConnections::EnsureStrengthKey()
{
    TEgoNetModel* model = Model();
    if (!model || model->NodeCount() == 0 || model->LinkCount() == 0)
        return;
    TEgoNetEdge* first = model->GetLink(0);
    QString value;
    if (!first->Attributes.GetValue(kStrength, value))
        first->Attributes.AddAttribute(kStrength, QString());
    model->NormalizeLinkAttrs();
}

void TfrmPageConnections::SaveLinkTypes()
{
    TIniFile ini(ProgramIniPath());
    ini.EraseSection(kSection);
    // An emptied list is saved as an empty section, so that deleted types do not come back.
    ini.EnsureSection(kSection);
    const TListGrid& types = LinkTypes();
    for (int row = 1; row < types.RowCount(); ++row)
        if (!types.Cell(2, row).isEmpty())
            ini.WriteString(kSection, types.Cell(2, row), QString::number(RowColour(row)));
    ini.UpdateFile();
}

void TfrmPageConnections::ApplyLinkTypeColors()
{
    if (!FHost)
        return;
    QList<TLinkTypeColour> colours;
    for (int row = 1; row < LinkTypes().RowCount(); ++row)
        colours.append({LinkTypes().Cell(2, row), RowColour(row)});
    FHost->Graph().SetLinkTypeColors(colours);
}

void TfrmPageConnections::asgLinkTypesClickCell(int itemRow, int column)
{
    const int row = itemRow + LinkTypes().FixedRows();
    if (column == 2) {
        ToggleCheck(LinkTypes(), row, 0);
    } else if (column == 1) {
        uint32_t colour = RowColour(row);
        const QPoint at = LinkTypes().viewport()->mapToGlobal(FTypesPress);
        if (ShowColorPicker(colour, at.x(), at.y()) == kModalOK) {
            SetRowColour(row, colour);
            ApplyLinkTypeColors();
            if (FHost)
                FHost->Graph().Edited(QStringLiteral("Link Type Colour"));
        }
    }
}

void TfrmPageConnections::tbTypesNewClick()
{
    AppendEditRow(LinkTypes(), 0, 2);
    const int row = LinkTypes().RowCount() - 1;
    SetRowColour(row, DefaultColours[size_t((row - 1) % 16)]);
}

void TfrmPageConnections::tbTypesDeleteClick()
{
    // Links of a removed type keep their type and colour.
    DeleteCheckedRows(LinkTypes(), 0, 2);
}

void TfrmPageConnections::StrengthEntered()
{
    QComboBox* combo = ui->cbStrength;
    const QString typed = combo->currentText();
    if (combo->findText(typed, Qt::MatchExactly) < 0 && combo->findText(typed.toLower(), Qt::MatchExactly) < 0) {
        // From the first added value on, the list is kept sorted.
        QStringList items;
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
        items << typed;
        items.sort(Qt::CaseInsensitive);
        combo->clear();
        combo->addItems(items);
        combo->setCurrentIndex(int(items.indexOf(typed)));
    }
    combo->lineEdit()->selectAll();
}

// The bulk commands

bool TfrmPageConnections::CheckSelection(TChecked& checked, bool needsDestination)
{
    const auto persons = [](const TListGrid& grid) {
        QList<TEgoNetObject*> objects;
        GetCheckedObjects(grid, 0, objects);
        QList<TOrganizedNode*> result;
        for (TEgoNetObject* object : std::as_const(objects))
            result.append(static_cast<TOrganizedNode*>(object));
        return result;
    };
    checked.From = persons(LPersons());
    if (checked.From.isEmpty()) {
        UserDialogs().Show(QStringLiteral("Select person(s) from the list \"Person(s)\"."), TMessageKind::Information);
        return false;
    }
    checked.To = needsDestination ? persons(RPersons()) : checked.From;
    if (checked.To.isEmpty()) {
        UserDialogs().Show(QStringLiteral("Please select \"destination\" person(s) from the second list."),
                           TMessageKind::Information);
        return false;
    }
    checked.TypeRows.clear();
    for (int row = 1; row < LinkTypes().RowCount(); ++row)
        if (LinkTypes().IsChecked(0, row))
            checked.TypeRows.append(row);
    if (checked.TypeRows.isEmpty()) {
        UserDialogs().Show(QStringLiteral("Please also select link type(s).\r\nThank you."), TMessageKind::Information);
        return false;
    }
    return true;
}

bool TfrmPageConnections::CheckStrength()
{
    // Free text may be typed, but only a number from 0 to 1 (with the user's decimal separator
    // or a point) becomes a link's strength.
    const QString text = ui->cbStrength->currentText().trimmed();
    bool number = false;
    double strength = QLocale().toDouble(text, &number);
    if (!number)
        strength = QLocale::c().toDouble(text, &number);
    if (number && strength >= 0 && strength <= 1)
        return true;
    UserDialogs().Show(QStringLiteral("The strength must be a number from 0.0 to 1.0."), TMessageKind::Information);
    return false;
}

void TfrmPageConnections::MakeLinks(const QList<QPair<TOrganizedNode*, TOrganizedNode*>>& pairs,
                                    const QList<int>& typeRows)
{
    TEgoNetModel& model = *Model();
    // The links there are, looked up once instead of searching every link for every new one.
    QSet<TLinkKey> existing;
    for (const TEgoNetEdge* link : model.Links())
        existing.insert(KeyOf(link->Source, link->Target, link->TypeName()));
    const QString strength = ui->cbStrength->currentText();
    const bool directed = ui->rbtnDirected->isChecked();
    for (const auto& [a, b] : pairs) {
        for (int row : typeRows) {
            const QString type = LinkTypes().Cell(2, row);
            const TLinkKey key = KeyOf(a, b, type);
            if (existing.contains(key))
                continue;
            existing.insert(key);
            TEgoNetEdge* link = model.NewLink(a, b, type, QString());
            link->ApplyDefaults(FHost->Graph().Settings());
            link->Directed = directed;
            link->Attributes.AddAttribute(kStrength, strength);
            link->Color = RowColour(row);
        }
    }
}

void TfrmPageConnections::LinksMade(const TNotifyEvent& event, const QString& step)
{
    Model()->NormalizeLinkAttrs();
    FHost->Graph().StraightenLinks(false);
    FHost->Graph().Edited(step);
    FHost->Graph().update();
    Raise(event, this);
}

void TfrmPageConnections::btnCreateLinksClick()
{
    TChecked checked;
    if (!FHost || !CheckSelection(checked, true) || !CheckStrength())
        return;
    const auto busy = BusyCursor();
    QList<QPair<TOrganizedNode*, TOrganizedNode*>> pairs;
    for (TOrganizedNode* a : std::as_const(checked.From))
        for (TOrganizedNode* b : std::as_const(checked.To))
            pairs.append(qMakePair(a, b));
    MakeLinks(pairs, checked.TypeRows);
    LinksMade(OnLinksCreated, QStringLiteral("Create Links"));
}

void TfrmPageConnections::btnConnectAllClick()
{
    const int answer = AskWithCaptions(QStringLiteral("Connect all selected persons from the \"Person(s)\" list to each other?"),
                                       TMessageKind::Confirmation,
                                       {QStringLiteral("Sure"), QStringLiteral("No, let me check the list...")});
    TChecked checked;
    if (answer == 2 || answer == IUserDialogs::Closed || !FHost || !CheckSelection(checked, false) || !CheckStrength())
        return;
    const auto busy = BusyCursor();
    QList<QPair<TOrganizedNode*, TOrganizedNode*>> pairs;
    for (qsizetype i = 0; i < checked.From.size(); ++i)
        for (qsizetype j = 0; j < checked.From.size(); ++j)
            if (i != j)
                pairs.append(qMakePair(checked.From[i], checked.From[j]));
    MakeLinks(pairs, checked.TypeRows);
    LinksMade(OnAllConnected, QStringLiteral("Connect All"));
}

void TfrmPageConnections::btnDeleteClick()
{
    TChecked checked;
    if (!FHost || !CheckSelection(checked, true))
        return;
    const auto busy = BusyCursor();
    TEgoNetModel& model = *Model();
    for (TOrganizedNode* a : std::as_const(checked.From))
        for (TOrganizedNode* b : std::as_const(checked.To))
            for (int row : std::as_const(checked.TypeRows))
                // One link per pair and type goes per press.
                model.DeleteShownLink(model.FindLink(a, b, LinkTypes().Cell(2, row)));
    FHost->Graph().StraightenLinks(false);
    FHost->Graph().Edited(QStringLiteral("Delete Links"));
    FHost->Graph().update();
    Raise(OnLinksDeleted, this);
}

bool TfrmPageConnections::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress && watched == LinkTypes().viewport()) {
        FTypesPress = static_cast<QMouseEvent*>(event)->position().toPoint();
        return false;
    }
    if (type == QEvent::KeyRelease && watched == &LinkTypes()
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        tbTypesDeleteClick();
        return true;
    }
    if (type == QEvent::KeyPress && watched == ui->cbStrength) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            StrengthEntered();
            return true;
        }
        return false;
    }
    if (!FHost)
        return false;
    TListGrid& side = watched == ui->lbFilterL || watched == ui->lbShowAllL ? LPersons() : RPersons();
    if (type == QEvent::MouseButtonPress && (watched == ui->lbFilterL || watched == ui->lbFilterR)) {
        FilterPersonList(side, *FHost, static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
        return true;
    }
    if (type == QEvent::MouseButtonRelease && (watched == ui->lbShowAllL || watched == ui->lbShowAllR)) {
        ShowAllPersons(side, *FHost);
        return true;
    }
    return false;
}
