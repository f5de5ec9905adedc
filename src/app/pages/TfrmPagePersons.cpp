#include "app/pages/TfrmPagePersons.h"

#include "app/SettingsFiles.h"
#include "app/WindowHelpers.h"
#include "app/dialogs/ModalResult.h"
#include "app/dialogs/FileDialogs.h"
#include "app/dialogs/TfrmSelectChecked.h"
#include "app/grids/GridHelpers.h"
#include "app/grids/PersonListFilter.h"
#include "app/grids/TListGrid.h"
#include "app/pages/GroupEditing.h"
#include "app/pages/PageForm.h"
#include "foundation/AtomicFileWriter.h"
#include "model/BmpCodec.h"
#include "model/PersonKeys.h"
#include "output/JpegCodec.h"
#include "settings/TIniFile.h"
#include "ui_TfrmPagePersons.h"
#include "view/TCursorMan.h"
#include "view/TEgoNetGraphEx.h"
#include "view/ViewEvents.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QUrl>

namespace {

const QString kGroupMode = QStringLiteral("group mode...");

QStringList Years()
{
    QStringList years;
    for (int year = 1900; year <= 2010; ++year)
        years << QString::number(year);
    return years;
}

} // namespace

TfrmPagePersons::TfrmPagePersons(QWidget* parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::TfrmPagePersons>())
{
    SetUpPage(*this, *ui);
    using namespace PersonKeys;
    FFields = {{ui->edFirstName, FirstName},           {ui->edLastName, LastName},
               {ui->cbSex, Sex},                       {ui->cbMonth, BirthdayMonth},
               {ui->cbYear, BirthdayYear},             {ui->cbSchools, Education},
               {ui->cbWork, Work},                     {ui->edEMail, EMail},
               {ui->edHomePhone_Area, HomePhoneArea},  {ui->edHomePhone, HomePhone},
               {ui->edWorkPhone_Area, WorkPhoneArea},  {ui->edWorkPhone, WorkPhone},
               {ui->edCellPhone_Area, CellPhoneArea},  {ui->edCellPhone, CellPhone},
               {ui->edEntertainments, Entertainments}, {ui->edMovies, Movies},
               {ui->edSports, Sports},                 {ui->edFoods, Foods}};

    TListGrid& grid = Grid();
    grid.SetCell(1, 0, QStringLiteral("Name"));
    grid.setColumnWidth(0, 16);
    grid.installEventFilter(this);
    connect(&grid, &QTableWidget::cellClicked, this, [this](int row, int column) {
        if (column != 1)
            return;
        FChecking = true;
        ToggleCheck(Grid(), row + Grid().FixedRows(), 0);
        FChecking = false;
        LoadCheckedPersons();
    });
    // A check box the user clicks.
    connect(&grid, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (!FChecking && item->column() == 0)
            LoadCheckedPersons();
    });
    const auto checkAll = [this](bool checked) {
        CommitEdits();
        FChecking = true;
        SetAllChecks(Grid(), checked, 0);
        FChecking = false;
        LoadCheckedPersons();
    };
    connect(ui->tbAll, &QToolButton::clicked, this, [checkAll] { checkAll(true); });
    connect(ui->tbNone, &QToolButton::clicked, this, [checkAll] { checkAll(false); });

    // Only what the user types counts as a change, never what loading puts into the form.
    for (const TField& field : std::as_const(FFields)) {
        QLineEdit* edit = qobject_cast<QLineEdit*>(field.Control);
        if (auto* combo = qobject_cast<QComboBox*>(field.Control)) {
            edit = combo->lineEdit();
            connect(combo, &QComboBox::activated, this, [this] { FFormModified = true; });
        }
        const bool isName = field.Control == ui->edFirstName || field.Control == ui->edLastName;
        connect(edit, &QLineEdit::textEdited, this, [this, isName] {
            FFormModified = true;
            if (isName) {
                NamesChanged = true;
                UpdateFullName();
            }
        });
        field.Control->installEventFilter(this);
    }

    for (QLabel* link : {ui->lbFilter, ui->lbShowAll, ui->lbAddPhoto, ui->lbClearPhoto, ui->lbSendEMail})
        link->installEventFilter(this);
    ui->imgPerson->installEventFilter(this);
    connect(ui->imgPerson, &QWidget::customContextMenuRequested, this, [this](QPoint at) {
        QMenu menu(this);
        menu.addAction(QStringLiteral("Load Image"), this, &TfrmPagePersons::lbAddPhotoClick);
        menu.addAction(QStringLiteral("Save Image"), this, &TfrmPagePersons::SaveImageClick);
        menu.addAction(QStringLiteral("View FullSize Image"), this, &TfrmPagePersons::ViewFullSizeClick);
        menu.addSeparator();
        menu.addAction(QStringLiteral("Clear"), this, &TfrmPagePersons::lbClearPhotoClick);
        menu.exec(ui->imgPerson->mapToGlobal(at));
    });
    connect(ui->btnBrowseEntertainment, &QPushButton::clicked, this, [this] {
        BrowseFavourites(ui->edEntertainments, QStringLiteral(" Favorite Entertainment"),
                         QStringLiteral("Select favorite entertainment:"), QStringLiteral("FavoriteEntertainment"));
    });
    connect(ui->btnBrowseMovies, &QPushButton::clicked, this, [this] {
        BrowseFavourites(ui->edMovies, QStringLiteral(" Favorite Movies"), QStringLiteral("Select favorite movies:"),
                         QStringLiteral("FavoriteMovies"));
    });
    connect(ui->btnBrowseSports, &QPushButton::clicked, this, [this] {
        BrowseFavourites(ui->edSports, QStringLiteral(" Favorite Sports"), QStringLiteral("Select favorite sports:"),
                         QStringLiteral("FavoriteSports"));
    });
    connect(ui->btnBrowseFoods, &QPushButton::clicked, this, [this] {
        BrowseFavourites(ui->edFoods, QStringLiteral(" Favorite Food"), QStringLiteral("Select favorite food:"),
                         QStringLiteral("FavoriteFood"));
    });
    connect(ui->btnOtherAttributes, &QPushButton::clicked, this, [this] { Raise(OnOtherAttributes, this); });
    connect(ui->btnNewPerson, &QPushButton::clicked, this, &TfrmPagePersons::btnNewPersonClick);
    connect(ui->btnDelete, &QPushButton::clicked, this, &TfrmPagePersons::btnDeleteClick);
    ClearForm();
}

TfrmPagePersons::~TfrmPagePersons() = default;

TListGrid& TfrmPagePersons::Grid() const
{
    return *ui->asgPersons;
}

TEgoNetModel* TfrmPagePersons::Model() const
{
    return FHost ? &FHost->Graph().Model() : nullptr;
}

QList<TOrganizedNode*> TfrmPagePersons::EditedPersons() const
{
    const TEgoNetModel* model = Model();
    return model ? model->FindNodesByIDs(FEditedIDs) : QList<TOrganizedNode*>();
}

void TfrmPagePersons::Repaint()
{
    if (FHost)
        FHost->Graph().update();
}

// Fields

QString TfrmPagePersons::FieldText(const TField& field) const
{
    if (const auto* combo = qobject_cast<const QComboBox*>(field.Control))
        return combo->currentText();
    return static_cast<const QLineEdit*>(field.Control)->text();
}

void TfrmPagePersons::SetFieldText(const TField& field, const QString& text)
{
    if (auto* combo = qobject_cast<QComboBox*>(field.Control)) {
        // A value missing from the list still shows, so that storing the form keeps it.
        const int index = text.isEmpty() ? -1 : combo->findText(text, Qt::MatchFixedString);
        combo->setCurrentIndex(index);
        combo->setEditText(index >= 0 ? combo->itemText(index) : text);
        return;
    }
    static_cast<QLineEdit*>(field.Control)->setText(text);
}

void TfrmPagePersons::ClearForm()
{
    SetPicture(QImage());
    ui->lbFullName->clear();
    const auto refill = [](QComboBox* combo, const QStringList& items) {
        combo->clear();
        combo->addItems(items);
    };
    refill(ui->cbSex, {QStringLiteral("male"), QStringLiteral("female")});
    refill(ui->cbMonth, MonthNames());
    refill(ui->cbYear, Years());
    ui->cbSchools->clear();
    ui->cbWork->clear();
    FillListFromIni(ui->cbSchools, QStringLiteral("Schools"));
    FillListFromIni(ui->cbWork, QStringLiteral("Work"));
    for (const TField& field : std::as_const(FFields))
        SetFieldText(field, QString());
}

void TfrmPagePersons::FillListFromIni(QComboBox* combo, const QString& section)
{
    const QString ini = ProgramIniPath();
    if (section.isEmpty() || !QFileInfo::exists(ini))
        return;
    QStringList entries = TIniFile(ini).ReadSection(section);
    entries.sort(Qt::CaseInsensitive);
    combo->addItems(entries);
}

void TfrmPagePersons::SaveListToIni(QComboBox* combo, const QString& section)
{
    const QString path = ProgramIniPath();
    if (section.isEmpty() || !QFileInfo::exists(path))
        return;
    TIniFile ini(path);
    ini.EraseSection(section);
    ini.EnsureSection(section);
    for (int i = 0; i < combo->count(); ++i)
        ini.WriteString(section, combo->itemText(i), QString());
    ini.UpdateFile();
}

void TfrmPagePersons::SetPicture(const QImage& picture)
{
    FPicture = picture;
    const QSize room = ui->imgPerson->contentsRect().size();
    ui->imgPerson->setPixmap(picture.isNull() ? QPixmap()
                                              : QPixmap::fromImage(picture.scaled(room, Qt::KeepAspectRatio,
                                                                                  Qt::SmoothTransformation)));
}

void TfrmPagePersons::UpdateFullName()
{
    QString full = ui->edFirstName->text();
    const QString last = ui->edLastName->text();
    if (!last.isEmpty())
        full = full.isEmpty() ? last : full + QLatin1Char(' ') + last;
    SetFullNameStyle(*ui->lbFullName, false);
    ui->lbFullName->setText(full);
}

void TfrmPagePersons::SplitCaption(const QString& caption, QString& first, QString& last)
{
    const qsizetype blank = caption.indexOf(QLatin1Char(' '));
    first = blank < 0 ? caption : caption.left(blank);
    last = blank < 0 ? QString() : caption.mid(blank + 1);
}

// Binding

void TfrmPagePersons::AttachGraph(TEgoNetGraphEx* host)
{
    FFormModified = false;
    NamesChanged = false;
    if (host)
        FHost = host;
    if (FHost) {
        FChecking = true;
        FillWithPersons(Grid(), *FHost, true);
        Grid().SortByColumn(1);
        FChecking = false;
        EnsureStandardKeys();
        SplitCaptions();
    }
    FEditedIDs.clear();
    ClearForm();
}

void TfrmPagePersons::EnsureStandardKeys()
{
    TListGrid& grid = Grid();
    auto* first = grid.RowCount() > 1 ? static_cast<TOrganizedNode*>(grid.Object(1, 1)) : nullptr;
    if (!first)
        return;
    QString value;
    // Every person is given the personal keys; "movies" only once its favourite movies are stored.
    for (const QString& key : PersonalKeys())
        if (!first->Attributes.GetValue(key, value))
            first->Attributes.AddAttribute(key, QString());
    Model()->NormalizeNodeAttrs();
}

void TfrmPagePersons::SplitCaptions()
{
    TListGrid& grid = Grid();
    for (int row = 1; row < grid.RowCount(); ++row) {
        auto* person = static_cast<TOrganizedNode*>(grid.Object(1, row));
        if (!person || person->Caption().isEmpty() || !ShownValue(person, PersonKeys::FirstName).isEmpty()
            || !ShownValue(person, "name_last").isEmpty())
            continue;
        QString first;
        QString last;
        SplitCaption(person->Caption(), first, last);
        person->Attributes.SetValue(PersonKeys::FirstName, first);
        person->Attributes.SetValue(QStringLiteral("name_last"), last);
    }
}

// Loading and storing

void TfrmPagePersons::LoadCheckedPersons()
{
    CommitEdits();
    QList<TEgoNetObject*> checked;
    GetCheckedObjects(Grid(), 0, checked);
    FEditedIDs.clear();
    for (const TEgoNetObject* person : std::as_const(checked))
        FEditedIDs << person->ID;
    const QList<TOrganizedNode*> persons = EditedPersons();
    if (persons.isEmpty()) {
        ClearForm();
    } else if (persons.size() == 1) {
        LoadPerson(persons.first());
        Repaint();
        Raise(OnPersonFocused, this, persons.first());
    } else {
        LoadGroup(persons);
    }
    // The handler may have changed the graph; the selection follows what is still there.
    const QList<TOrganizedNode*> edited = EditedPersons();
    if (TEgoNetModel* model = Model(); model && !edited.isEmpty()) {
        model->SelectAll(false);
        for (TOrganizedNode* person : edited)
            person->SetSelected(true);
        model->UpdateLinkSelection();
    }
    Repaint();
}

void TfrmPagePersons::LoadPerson(TOrganizedNode* person)
{
    ClearForm();
    for (const TField& field : std::as_const(FFields))
        SetFieldText(field, ShownValue(person, field.Key));
    if (ui->edFirstName->text().isEmpty() && ui->edLastName->text().isEmpty() && !person->Caption().isEmpty()) {
        QString first;
        QString last;
        SplitCaption(person->Caption(), first, last);
        ui->edFirstName->setText(first);
        ui->edLastName->setText(last);
    }
    UpdateFullName();
    FFormImageID = person->ImageID;
    SetPicture(person->ImageID != kNoImageID ? person->Image : QImage());
}

void TfrmPagePersons::LoadGroup(const QList<TOrganizedNode*>& persons)
{
    ClearForm();
    const QList<TEgoNetObject*> objects(persons.cbegin(), persons.cend());
    for (const TField& field : std::as_const(FFields))
        SetFieldText(field, CommonValue(objects, field.Key));
    SetFullNameStyle(*ui->lbFullName, true);
    ui->lbFullName->setText(kGroupMode);
    const QString id = persons.first()->ImageID;
    const bool samePicture = std::all_of(persons.cbegin(), persons.cend(),
                                         [&id](const TOrganizedNode* p) { return p->ImageID == id; });
    if (samePicture) {
        FFormImageID = id;
        SetPicture(id != kNoImageID ? persons.first()->Image : QImage());
    }
}

void TfrmPagePersons::CommitEdits()
{
    const QList<TOrganizedNode*> persons = EditedPersons();
    if (!FFormModified || persons.isEmpty())
        return;
    const auto busy = BusyCursor();
    for (TOrganizedNode* person : persons)
        StorePerson(person, persons.size() > 1, FFormImageID);
    if (NamesChanged)
        RefreshNameColumn();
    FFormModified = false;
    FHost->Graph().Edited(QStringLiteral("Edit Persons"));
}

void TfrmPagePersons::StorePerson(TOrganizedNode* person, bool groupMode, const QString& imageID)
{
    const QString label = ui->lbFullName->text();
    if (!groupMode || (!label.isEmpty() && !label.contains(QLatin1String("group mode"))))
        person->SetCaption(label);
    if (!FPicture.isNull()) {
        person->Image = FPicture;
        person->ImageID = imageID;
        person->BuildImageMasks();
    } else if (!groupMode) {
        person->ClearImage();
    }
    QString old;
    for (const TField& field : std::as_const(FFields)) {
        const QString value = FieldText(field);
        if (groupMode && value.isEmpty())
            continue;
        if (person->Attributes.GetValue(field.Key, old))
            person->Attributes.SetValue(field.Key, value);
        else
            person->Attributes.AddAttribute(field.Key, value);
    }
    Model()->NormalizeNodeAttrs();
    Repaint();
}

void TfrmPagePersons::RefreshNameColumn()
{
    TListGrid& grid = Grid();
    FChecking = true;
    for (int row = 1; row < grid.RowCount(); ++row)
        if (const TEgoNetObject* person = grid.Object(1, row))
            grid.SetCell(1, row, person->Caption());
    FChecking = false;
}

void TfrmPagePersons::ShowGraphSelection()
{
    TEgoNetModel* model = Model();
    if (!model || model->SelectedNodeCount() == 0)
        return;
    QList<TEgoNetObject*> selected;
    for (TOrganizedNode* person : model->Nodes())
        if (person->Selected())
            selected.append(person);
    FChecking = true;
    CheckObjects(Grid(), 0, selected);
    FChecking = false;
    LoadCheckedPersons();
}

// Creating and deleting

void TfrmPagePersons::btnNewPersonClick()
{
    CommitEdits();
    TEgoNetModel* model = Model();
    if (!model)
        return;
    TOrganizedNode* person = model->NewNode(QPoint(FHost->width() / 2, FHost->height() / 2), model->NextNodeName());
    person->ApplyDefaults(FHost->Graph().Settings());
    person->ClearImage();
    model->NormalizeNodeAttrs();
    FHost->Graph().Edited(QStringLiteral("New Person"));
    Repaint();
    ClearForm();
    AttachGraph(nullptr);
    const int row = FindRowByID(Grid(), person->ID, 1);
    FChecking = true;
    SetAllChecks(Grid(), false, 0);
    SetCheck(Grid(), true, row, 0);
    FChecking = false;
    LoadCheckedPersons();
    ui->edFirstName->setFocus();
    ui->edFirstName->selectAll();
    NamesChanged = true;
}

void TfrmPagePersons::btnDeleteClick()
{
    CommitEdits();
    QList<TEgoNetObject*> checked;
    GetCheckedObjects(Grid(), 0, checked);
    if (checked.isEmpty())
        return;
    QStringList ids;
    for (const TEgoNetObject* person : std::as_const(checked))
        ids << person->ID;
    const QString question = checked.size() == 1
                                 ? QStringLiteral("Delete \"%1\"?").arg(checked.first()->Caption())
                                 : QStringLiteral("Delete %1 selected persons?").arg(checked.size());
    if (AskWithCaptions(question, TMessageKind::Confirmation, {QStringLiteral("Yes"), QStringLiteral("No")}) != 1)
        return;
    // The question's event loop may have let some of them go already: they are found again by ID.
    for (qsizetype i = ids.size() - 1; i >= 0; --i)
        Model()->DeleteNode(Model()->FindNodeByID(ids[i]));
    FHost->Graph().Edited(QStringLiteral("Delete Persons"));
    Repaint();
    ClearForm();
    AttachGraph(nullptr);
    FEditedIDs.clear();
    NamesChanged = true;
}

// Filter and Show All

void TfrmPagePersons::lbFilterMouseDown(QPoint globalPos)
{
    if (FHost)
        FilterPersonList(Grid(), *FHost, globalPos);
}

void TfrmPagePersons::lbShowAllClick()
{
    if (FHost)
        ShowAllPersons(Grid(), *FHost);
}

// Pictures

void TfrmPagePersons::lbAddPhotoClick()
{
    if (!Model() || Model()->NodeCount() == 0 || CountChecked(Grid(), 0) == 0)
        return;
    const QString fileName = AskPictureToOpen(this);
    if (fileName.isEmpty())
        return;
    const QString extension = QFileInfo(fileName).suffix().toLower();
    QImage picture;
    if (extension == QLatin1String("jpg") || extension == QLatin1String("jpeg") || extension == QLatin1String("bmp")) {
        QFile file(fileName);
        QString error = file.errorString();
        if (file.open(QIODevice::ReadOnly)) {
            const QByteArray bytes = file.readAll();
            picture = extension == QLatin1String("bmp") ? DecodeBmp(bytes) : DecodeJpeg(bytes, &error);
        }
        // A picture that cannot be read leaves the form's picture as it was.
        if (picture.isNull()) {
            UserDialogs().Show(QStringLiteral("The picture \"%1\" could not be read.").arg(QFileInfo(fileName).fileName()),
                               TMessageKind::Warning);
            return;
        }
    }
    SetPicture(picture);
    FFormImageID = NewObjectID();
    FFormModified = true;
}

void TfrmPagePersons::SaveImageClick()
{
    if (FPicture.isNull())
        return;
    const QString fileName = AskBitmapToSave(this);
    QString error;
    if (!fileName.isEmpty() && !WriteFileAtomically(fileName, EncodeBmp(FPicture), error))
        UserDialogs().Show(error, TMessageKind::Warning);
}

void TfrmPagePersons::ViewFullSizeClick()
{
    if (FPicture.isNull())
        return;
    const QString fileName = TemporaryFilePath(QStringLiteral("default.bmp"));
    QString error;
    if (WriteFileAtomically(fileName, EncodeBmp(FPicture), error))
        OpenWithDefaultViewer(fileName);
}

void TfrmPagePersons::lbClearPhotoClick()
{
    if (FPicture.isNull())
        return;
    SetPicture(QImage());
    FFormImageID = kNoImageID;
    FFormModified = true;
}

// E-mail and favourites

void TfrmPagePersons::lbSendEMailClick()
{
    const QString address = ui->edEMail->text().trimmed();
    ui->edEMail->setText(address);
    if (address.isEmpty())
        return;
    if (address.contains(QLatin1Char('@')) && address.contains(QLatin1Char('.'))) {
        QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:") + address
                                       + QStringLiteral("?subject=Message from Circlewright&body=")));
        return;
    }
    UserDialogs().Show(QStringLiteral("Please enter valid e-mail address."), TMessageKind::Information);
    ui->edEMail->selectAll();
    ui->edEMail->setFocus();
}

void TfrmPagePersons::BrowseFavourites(QLineEdit* field, const QString& caption, const QString& prompt,
                                       const QString& section)
{
    QString text;
    if (PickFromList(caption, prompt, text, section, ProgramIniPath()) != kModalOK)
        return;
    if (text != field->text())
        FFormModified = true;
    field->setText(text);
}

// Keys and clicks

void TfrmPagePersons::EnterPressed(QWidget* field)
{
    for (QComboBox* combo : {ui->cbSchools, ui->cbWork}) {
        if (field != combo)
            continue;
        const QString typed = combo->currentText();
        if (!typed.isEmpty() && combo->findText(typed, Qt::MatchFixedString) < 0)
            combo->addItem(typed);
        combo->lineEdit()->selectAll();
        SaveListToIni(combo, combo == ui->cbSchools ? QStringLiteral("Schools") : QStringLiteral("Work"));
    }
    for (qsizetype i = 0; i + 1 < FFields.size(); ++i)
        if (FFields[i].Control == field)
            FFields[i + 1].Control->setFocus();
}

bool TfrmPagePersons::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (auto* field = qobject_cast<QWidget*>(watched);
                std::any_of(FFields.cbegin(), FFields.cend(), [field](const TField& f) { return f.Control == field; })) {
                EnterPressed(field);
                return true;
            }
        }
    } else if (type == QEvent::KeyRelease && watched == &Grid()
               && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        btnDeleteClick();
        return true;
    } else if (type == QEvent::MouseButtonPress && watched == ui->lbFilter) {
        lbFilterMouseDown(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
        return true;
    } else if (type == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == ui->lbShowAll)
            lbShowAllClick();
        else if (watched == ui->lbAddPhoto)
            lbAddPhotoClick();
        else if (watched == ui->lbClearPhoto)
            lbClearPhotoClick();
        else if (watched == ui->lbSendEMail)
            lbSendEMailClick();
        else
            return false;
        return true;
    } else if (type == QEvent::MouseButtonDblClick && watched == ui->imgPerson) {
        ViewFullSizeClick();
        return true;
    }
    return false;
}
