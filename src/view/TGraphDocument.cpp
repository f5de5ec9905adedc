#include "view/TGraphDocument.h"

#include "foundation/StreamError.h"
#include "foundation/UserDialogs.h"
#include "layout/TEgoOrganizer.h"
#include "settings/GraphFile.h"
#include "view/TCursorMan.h"
#include "view/TEgoNetGraphDisplay.h"
#include "view/TEgoNetGraphEx.h"
#include "view/TGraphClipboard.h"

#include <QFileInfo>

namespace {

// Link lengths around an ego are a quarter longer, so that its circle has room.
constexpr float kEgoLinkLengthFactor = 1.25f;

} // namespace

TGraphDocument::TGraphDocument(TEgoNetGraphDisplay& view, TEgoNetGraphEx* host)
    : FView(view)
    , FHost(host)
{
}

// A layout that goes tells the view, which then runs none.
TGraphDocument::~TGraphDocument() = default;

bool TGraphDocument::IsGraphFileName(const QString& fileName)
{
    return fileName.endsWith(Extension, Qt::CaseInsensitive);
}

bool TGraphDocument::Open(const QString& fileName)
{
    if (fileName.isEmpty())
        return false;
    bool loaded = false;
    {
        const auto busy = BusyCursor();
        if (FHost)
            FHost->ClearGraph();
        else
            FView.Clear(true);
        if (!IsGraphFileName(fileName) || !QFileInfo::exists(fileName))
            return false;
        loaded = FView.ReadGraphFile(fileName);
        if (loaded) {
            FView.Settings().StyleName = QStringLiteral("Internal");
            FView.Model().NormalizeNodeAttrs();
            FView.Model().NormalizeLinkAttrs();
        }
    }
    if (!loaded) {
        UserDialogs().Show(QStringLiteral("Cannot load file:  ") + fileName, TMessageKind::Information);
        return false;
    }
    const auto busy = BusyCursor();
    TEgoNetModel& model = FView.Model();
    FFileName = fileName;
    FView.Caption = QFileInfo(fileName).completeBaseName();
    if (model.ShownLinkTypes.isEmpty())
        model.ShownLinkTypes.append(QStringLiteral("default"));
    model.DeleteNodeAttribute(QStringLiteral("Node Degree"));
    model.CopyCaptionsToKeys();
    if (OnOpened)
        OnOpened();
    FView.SetIsChanged(false);
    FView.PrepareEdit(true);
    return true;
}

bool TGraphDocument::SaveTo(const QString& fileName)
{
    PauseLayout();
    // What the user typed belongs into the file.
    if (OnSaving)
        OnSaving();
    const auto busy = BusyCursor();
    const QString formerCaption = FView.Caption;
    FView.Caption = QFileInfo(fileName).completeBaseName();
    try {
        FView.WriteGraphFile(fileName);
    } catch (const EStreamError& error) {
        FView.Caption = formerCaption;
        UserDialogs().Show(QStringLiteral("Cannot save file:  %1\r\n\r\n%2").arg(fileName, error.Message()),
                           TMessageKind::Warning);
        return false;
    }
    FFileName = fileName;
    return true;
}

void TGraphDocument::WriteCopy(const QString& fileName) const
{
    // The view's own record stays as it is: only a save brings it up to date.
    TEgoNetDisplaySettings settings = FView.Settings();
    settings.DeriveFromGraph();
    ::WriteGraphFile(fileName, TGraphHeader{FView.Caption, FView.Description}, settings, FView.Model());
}

void TGraphDocument::Adopt(const QString& fileName)
{
    FFileName = fileName;
    FView.Caption = fileName == Untitled ? Untitled : QFileInfo(fileName).completeBaseName();
}

void TGraphDocument::Close()
{
    PauseLayout();
    TGraphClipboard::ClearGraph();
}

void TGraphDocument::PauseLayout()
{
    FView.Organize(false);
}

void TGraphDocument::StartLayout()
{
    FView.Organize(true);
}

TSpringEmbeddingOrganizer& TGraphDocument::UseSpringLayout()
{
    TSpringEmbeddingOrganizer& spring = *FView.SpringOrganizer();
    FView.SetOrganizer(&spring);
    spring.Animated = false;
    return spring;
}

TEgoOrganizer& TGraphDocument::PrepareEgoLayout(TOrganizedNode* centre, bool animate)
{
    PauseLayout();
    if (!FEgoLayout)
        FEgoLayout = std::make_unique<TEgoOrganizer>(&FView);
    FEgoLayout->SetEgo(centre);
    FView.LinkLengthFactor = kEgoLinkLengthFactor;
    FView.SetOrganizer(FEgoLayout.get());
    FEgoLayout->StepDelay = 1;
    FEgoLayout->Animated = animate;
    return *FEgoLayout;
}

void TGraphDocument::Organize()
{
    PauseLayout();
    FView.PrepareEdit(true);
    if (FView.Model().EnabledNodeCount() < 1)
        return;
    ShowLayoutCursor();
    UseSpringLayout();
    StartLayout();
    if (!FView.Organizer()->Running())
        FLayoutCursor.reset();
}

void TGraphDocument::StartEgoLayout(TOrganizedNode* person)
{
    ShowLayoutCursor();
    PrepareEgoLayout(person, true);
    StartLayout();
    if (!FView.Organizer()->Running())
        FLayoutCursor.reset();
}

bool TGraphDocument::LayoutRunning() const
{
    return FView.Organizer() && FView.Organizer()->Running();
}

void TGraphDocument::ShowLayoutCursor()
{
    // The guard of an earlier run goes first: going after the new one, it would put the arrow back.
    FLayoutCursor.reset();
    FLayoutCursor = BusyCursor();
}

void TGraphDocument::LayoutDone()
{
    FView.StraightenLinks(false);
    FLayoutCursor.reset();
    FView.Edited(QStringLiteral("Layout"));
}
