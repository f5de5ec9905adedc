#pragma once

#include "foundation/Geometry.h"
#include "foundation/TPaintLayer.h"
#include "layout/ILayoutView.h"
#include "layout/TSpringEmbeddingOrganizer.h"
#include "model/TEgoNetEdgeDrawer.h"
#include "model/TEgoNetModel.h"
#include "model/TEgoNetNodeDrawer.h"
#include "model/TObjectRef.h"
#include "settings/GraphFile.h"
#include "settings/IDisplaySettingsView.h"
#include "settings/TEgoNetDisplaySettings.h"
#include "view/TClusterOutlines.h"
#include "view/TGraphEvents.h"

#include <QList>
#include <QPair>
#include <QPoint>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdint>
#include <limits>
#include <functional>
#include <memory>
#include <vector>

class IGraphOutput;
class QSoundEffect;
class TGraphCommands;
class TGraphInteraction;
class TGraphPopupMenu;
class TIntVector;

// A link type and the colour its links take.
using TLinkTypeColour = QPair<QString, uint32_t>;

// The control on which the network is drawn. It owns the model, the drawers and the current
// display settings, paints the model in a fixed order, fits and centres the graph, and
// animates single nodes (blink, hover pulse). Node positions are its canvas pixels: fitting
// and zooming move the nodes themselves.
class TEgoNetGraphDisplay : public QWidget, public TGraphEvents, public IDisplaySettingsView, public ILayoutView
{
    Q_OBJECT

public:
    explicit TEgoNetGraphDisplay(QWidget* owner = nullptr);
    ~TEgoNetGraphDisplay() override;

    TEgoNetModel& Model() { return *FModel; }
    const TEgoNetModel& Model() const override { return *FModel; }
    TEgoNetDisplaySettings& Settings() { return FSettings; }
    TEgoNetNodeDrawer& NodeDrawer() { return FNodeDrawer; }
    TEgoNetEdgeDrawer& EdgeDrawer() { return FEdgeDrawer; }

    // The editing commands, the context menu, and the mouse and key handling.
    TGraphCommands& Commands() { return *FCommands; }
    TGraphPopupMenu& PopupMenu() { return *FMenu; }
    TGraphInteraction& Interaction() { return *FInteraction; }

    // Printing and picture export live in a higher layer, which installs itself here.
    void SetOutput(IGraphOutput* output) { FOutput = output; }

    // Published properties.
    bool Interactive = true;
    bool ShowPopup = true;
    QString Caption;
    QString Description;
    bool ShowToolTips() const { return FOptions.ShowToolTips; }
    void SetShowToolTips(bool value) { FOptions.ShowToolTips = value; }
    bool AutoOrganize() const { return FOptions.AutoOrganize; }
    void SetAutoOrganize(bool value) { FOptions.AutoOrganize = value; }
    bool SoundEffects() const { return FOptions.SoundEffects; }
    void SetSoundEffects(bool value) { FOptions.SoundEffects = value; }
    bool ShowClusterLabels = true;

    bool IsChanged() const { return FChanged || FModel->Modified(); }
    void SetIsChanged(bool value);
    // An edit of what a save writes has ended: the graph is changed, and OnEdited tells the
    // owner the step's name.
    void Edited(const QString& step);

    // Every option at once, the animation flag being that of the view's own layout.
    TDisplayOptions DisplayOptions() const override;
    // Sets every option but the sound switch, which stays as the view has it, with the
    // effects of the single setters; the animation flag goes to both layouts.
    void SetDisplayOptions(const TDisplayOptions& options);

    uint32_t Color() const { return FOptions.BkColor; }
    void SetColor(uint32_t value);
    uint32_t SelectionColor() const { return FOptions.nSelectionColor; }
    void SetSelectionColor(uint32_t value);
    uint32_t AltColor() const override { return FAltColor; }
    void SetAltColor(uint32_t value);
    uint32_t GrpColor() const override { return FGrpColor; }
    void SetGrpColor(uint32_t value);
    uint32_t ClusterColor() const { return FOptions.ClusterColor; }
    void SetClusterColor(uint32_t value);
    uint32_t PositionColor() const { return FOptions.PositionColor; }
    void SetPositionColor(uint32_t value);

    bool ShowBkImage() const { return FOptions.ShowBkImage; }
    void SetShowBkImage(bool value) { SetShowFlag(FOptions.ShowBkImage, value, true); }
    bool ShowShape() const { return FOptions.ShowShape; }
    void SetShowShape(bool value) { SetShowFlag(FOptions.ShowShape, value, true); }
    bool ShowImage() const { return FOptions.ShowImage; }
    void SetShowImage(bool value) { SetShowFlag(FOptions.ShowImage, value, true); }
    bool ShowCaption() const { return FOptions.ShowLabel; }
    void SetShowCaption(bool value) { SetShowFlag(FOptions.ShowLabel, value, true); }
    bool ShowEdges() const { return FOptions.ShowEdges; }
    void SetShowEdges(bool value) { SetShowFlag(FOptions.ShowEdges, value, true); }
    bool ShowDisabledNodes() const { return FOptions.ShowDisabledNodes; }
    void SetShowDisabledNodes(bool value) { SetShowFlag(FOptions.ShowDisabledNodes, value, true); }
    // The link label switches only matter while links are shown.
    bool ShowEdgeType() const { return FOptions.ShowEdgeType; }
    void SetShowEdgeType(bool value) { SetShowFlag(FOptions.ShowEdgeType, value, FOptions.ShowEdges); }
    bool ShowEdgeLabel() const { return FOptions.ShowEdgeLabel; }
    void SetShowEdgeLabel(bool value) { SetShowFlag(FOptions.ShowEdgeLabel, value, FOptions.ShowEdges); }
    bool ShowStress() const { return FOptions.ShowStress; }
    void SetShowStress(bool value) { SetShowFlag(FOptions.ShowStress, value, FOptions.ShowEdges); }
    bool ShowDirections() const { return FOptions.ShowDirections; }
    void SetShowDirections(bool value) { SetShowFlag(FOptions.ShowDirections, value, FOptions.ShowEdges); }
    bool ShowBorders() const { return FOptions.ShowBorders; }
    void SetShowBorders(bool value);

    // The animation flag of the view's own layout.
    bool SpringAnimation() const { return FSpring->Animated; }

    // Published events beyond those the host raises again; each is raised only when set.
    TNotifyEvent OnBeforePaint;

    // View state.
    float LinkLengthFactor = 1.0f;
    TOrganizedNode* CurrentNode = nullptr;
    int CurrentNodeIndex = -1;
    TEgoNetEdge* CurrentLink = nullptr;
    QPoint InsertPoint;
    uint32_t HullColor = 0;
    int HoverIndex() const { return FHoverIndex; }
    int HoverSize() const { return FHoverSize; }
    bool Blinking() const { return FBlinking; }

    void Clear(bool prepare);
    void Refresh() { update(); }
    void UpdateCurrent();
    void PrepareEdit(bool capture);
    void ApplySettings();
    void ApplySettingsToNodes();
    void ApplySettingsToLinks();
    void SelectLinkTypes(const QStringList* types);
    void LinksChanged(bool restart);
    void SetLinkTypeColors(const QList<TLinkTypeColour>& types);

    // The layout that Organize runs: the view's own spring layout until the owner installs
    // another one, which the view does not own; none once that one is freed.
    TOrganizeThread* Organizer() const { return FOrganizer; }
    TSpringEmbeddingOrganizer* SpringOrganizer() const { return FSpring.get(); }
    void SetOrganizer(TOrganizeThread* worker);
    // start: prepares a new run from the current positions and runs it; otherwise pauses.
    void Organize(bool start);

    int IdealLinkLength() const override;
    // The rectangle of the node centres, leaving out the listed nodes, or without a list the
    // nodes without shown links.
    TRect NodesBounds(const TIntVector* excluded) const;
    void ArrangeIsolates(const TIntVector& isolates) override;
    void CenterGraph();
    void BestFit();
    void StraightenLinks(bool prepare) override;

    bool SaveImage(const QString& fileName, int option);
    bool PrintGraph();
    void PlaySoundEffect(const QString& name);

    void StartBlink(TOrganizedNode* node, int times);
    void StartHoverPulse(int index);
    void StopHoverPulse();
    void ResetHover();
    void WaitProcessing(int milliseconds);

    // The graph file. Writing brings the settings record up to date from the graph first and
    // raises EStreamError when the file cannot be written; the old file then stays as it was.
    void WriteGraphFile(const QString& fileName);
    // False for a file that is not a graph file and after a read error, which is shown in a
    // warning box; what was read before the error stays.
    bool ReadGraphFile(const QString& fileName);

    // The whole picture as the screen shows it, onto any device (screen, image, printer).
    void Paint(QPainter& canvas, const QRect& area);

    // What the layouts use.
    TEgoNetModel& LayoutModel() override { return *FModel; }
    QSize ClientSize() const override { return size(); }
    void Repaint() override { update(); }
    void ResetBeforePaint() override { OnBeforePaint = nullptr; }
    void LayoutGone(TOrganizeThread* layout) override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void SetShowFlag(bool& flag, bool value, bool repaint);
    // Sets the cluster or position colour (colour and its field in the record).
    void SetOutlineSource(uint32_t& colour, uint32_t& recorded, uint32_t value);
    void DrawBackgroundPicture(QPainter& canvas);
    // Links, then nodes over them; in a large network the nodes and the last links go on a layer
    // painted by the second core meanwhile.
    void DrawLinksAndNodes(QPainter& canvas);
    // Sets how many links the next layered paint leaves on the canvas, from how long the layer
    // and both took with split of count there.
    void BalanceLinks(size_t split, size_t count, std::chrono::duration<double> layer,
                      std::chrono::duration<double> both);
    // Fills FDrawOrder.
    void CollectDrawOrder();
    void BlinkTick();
    void HoverTick();
    // The node under the hover pulse, or none. A hover whose node was deleted or has moved in
    // the model is forgotten, so that the node now at its index keeps its own size; the node is
    // recognised by its identifier, as a new node may take a deleted one's memory.
    TOrganizedNode* HoverNode();
    QSize HostSize() const;

    std::unique_ptr<TEgoNetModel> FModel;
    TEgoNetNodeDrawer FNodeDrawer;
    TEgoNetEdgeDrawer FEdgeDrawer;
    // The links painted on the node layer.
    TEgoNetEdgeDrawer FLayerEdgeDrawer{false};
    TClusterOutlines FClusterOutlines;
    QTimer FBlinkTimer;
    QTimer FHoverTimer;
    TEgoNetDisplaySettings FSettings;
    std::unique_ptr<TSpringEmbeddingOrganizer> FSpring;
    TOrganizeThread* FOrganizer = nullptr;
    IGraphOutput* FOutput = nullptr;
    QSoundEffect* FSound = nullptr;

    bool FChanged = false;
    // Its animation flag is not used: the layouts hold that one.
    TDisplayOptions FOptions;
    uint32_t FAltColor = 0;
    uint32_t FGrpColor = 0;

    // Painting's scratch: the nodes in drawing order, their layer, what painting it stores in the
    // nodes, how many links stay on the canvas, and the link whose handle goes on top.
    std::vector<TEgoNetNode*> FDrawOrder;
    TPaintLayer FNodeLayer;
    TNodeChanges FLayerChanges;
    size_t FCanvasLinks = std::numeric_limits<size_t>::max();
    TEgoNetEdge* FHandleLink = nullptr;

    std::unique_ptr<TGraphCommands> FCommands;
    std::unique_ptr<TGraphPopupMenu> FMenu;
    std::unique_ptr<TGraphInteraction> FInteraction;

    int FHoverIndex = -1;
    TObjectRef<TOrganizedNode> FHover;
    int FHoverSize = 0;
    int FPulseTicks = 0;
    TObjectRef<TOrganizedNode> FBlinkNode;
    int FBlinkCount = 0;
    bool FBlinking = false;
};
