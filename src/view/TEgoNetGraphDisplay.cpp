#include "view/TEgoNetGraphDisplay.h"

#include "foundation/Colors.h"
#include "foundation/Rounding.h"
#include "foundation/StreamError.h"
#include "foundation/TNumericVector.h"
#include "foundation/UserDialogs.h"
#include "model/ModelConstants.h"
#include "view/IGraphOutput.h"
#include "view/TGraphCommands.h"
#include "view/TGraphInteraction.h"
#include "view/TGraphPopupMenu.h"
#include "view/ViewEvents.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPaintEvent>
#include <QPainter>
#include <QSoundEffect>
#include <QUrl>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>

namespace {

constexpr int kTimerPeriod = 100;
// From this many nodes on, painting them beside the links outweighs clearing and laying over
// their layer.
constexpr size_t kLayeredNodes = 400;

} // namespace

TEgoNetGraphDisplay::TEgoNetGraphDisplay(QWidget* owner)
    : QWidget(owner)
    , FModel(std::make_unique<TEgoNetModel>())
    , FSettings(this)
    , FCommands(std::make_unique<TGraphCommands>(*this))
    , FMenu(std::make_unique<TGraphPopupMenu>(*this, *FCommands))
    , FInteraction(std::make_unique<TGraphInteraction>(*this, *FCommands, *FMenu))
{
    setGeometry(0, 0, 100, 100);
    // Every repaint covers the whole control, so Qt need not clear it first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    InsertPoint = QPoint(width() / 2, height() / 2);
    FBlinkTimer.setInterval(kTimerPeriod);
    FHoverTimer.setInterval(kTimerPeriod);
    connect(&FBlinkTimer, &QTimer::timeout, this, &TEgoNetGraphDisplay::BlinkTick);
    connect(&FHoverTimer, &QTimer::timeout, this, &TEgoNetGraphDisplay::HoverTick);
    ResetHover();
    FSpring = std::make_unique<TSpringEmbeddingOrganizer>(this);
    SetOrganizer(FSpring.get());
}

TEgoNetGraphDisplay::~TEgoNetGraphDisplay()
{
    // An installed layout outlives the view; it must not step a view that is gone.
    if (FOrganizer && FOrganizer != FSpring.get())
        FOrganizer->DetachView();
    FSpring->Terminate();
    FSpring->DetachView();
}

// Properties

void TEgoNetGraphDisplay::SetIsChanged(bool value)
{
    FChanged = value;
    FModel->SetModified(value);
}

void TEgoNetGraphDisplay::Edited(const QString& step)
{
    SetIsChanged(true);
    Raise(OnEdited, this, step);
}

void TEgoNetGraphDisplay::SetColor(uint32_t value)
{
    FOptions.BkColor = value;
    // The host shows the same background around the view.
    if (QWidget* host = parentWidget()) {
        QPalette palette = host->palette();
        palette.setColor(QPalette::Window, ToQColor(value));
        host->setPalette(palette);
    }
    update();
}

TDisplayOptions TEgoNetGraphDisplay::DisplayOptions() const
{
    TDisplayOptions options = FOptions;
    options.Animation = FSpring->Animated;
    return options;
}

void TEgoNetGraphDisplay::SetDisplayOptions(const TDisplayOptions& options)
{
    // Each outline colour hands the outlines on as its setter does, the cluster colour first.
    SetClusterColor(options.ClusterColor);
    SetPositionColor(options.PositionColor);
    const bool sound = FOptions.SoundEffects;
    FOptions = options;
    FOptions.SoundEffects = sound;
    FSpring->Animated = options.Animation;
    if (FOrganizer)
        FOrganizer->Animated = options.Animation;
    // Shows the background around the view too, and repaints for all the rest.
    SetColor(options.BkColor);
}

void TEgoNetGraphDisplay::SetSelectionColor(uint32_t value)
{
    FOptions.nSelectionColor = value;
    update();
}

void TEgoNetGraphDisplay::SetAltColor(uint32_t value)
{
    FAltColor = value;
    FSettings.nAltColor = value;
}

void TEgoNetGraphDisplay::SetGrpColor(uint32_t value)
{
    FGrpColor = value;
    FSettings.nGrpColor = value;
    if (FModel->GroupCount() > 0)
        ApplySettingsToNodes();
}

void TEgoNetGraphDisplay::SetClusterColor(uint32_t value)
{
    SetOutlineSource(FOptions.ClusterColor, FSettings.ClusterColor, value);
}

void TEgoNetGraphDisplay::SetPositionColor(uint32_t value)
{
    SetOutlineSource(FOptions.PositionColor, FSettings.PositionColor, value);
}

void TEgoNetGraphDisplay::SetOutlineSource(uint32_t& colour, uint32_t& recorded, uint32_t value)
{
    // The outlines follow whichever of the two colours they were last given.
    if (HullColor == colour)
        HullColor = value;
    colour = value;
    recorded = value;
    update();
}

void TEgoNetGraphDisplay::SetShowBorders(bool value)
{
    FOptions.ShowBorders = value;
    update();
}

void TEgoNetGraphDisplay::SetShowFlag(bool& flag, bool value, bool repaint)
{
    if (flag == value)
        return;
    flag = value;
    if (repaint)
        update();
}

// Operations

void TEgoNetGraphDisplay::Clear(bool prepare)
{
    if (FModel->NodeCount() == 0)
        return;
    ResetHover();
    if (prepare)
        PrepareEdit(true);
    StartBlink(nullptr, 0);
    FModel->Clear();
    UpdateCurrent();
    OnBeforePaint = nullptr;
    update();
}

void TEgoNetGraphDisplay::UpdateCurrent()
{
    CurrentNodeIndex = -1;
    CurrentNode = nullptr;
    CurrentLink = nullptr;
    if (FModel->NodeCount() == 0 || FModel->SelectedNodeCount() == 0)
        return;
    TIntVector selected;
    if (FModel->SelectedNodes(&selected) == 1) {
        CurrentNodeIndex = selected.Items(0);
        CurrentNode = FModel->GetNode(CurrentNodeIndex);
    }
    if (FModel->SelectedLinks(&selected) == 1)
        CurrentLink = FModel->GetShownLink(selected.Items(0));
}

void TEgoNetGraphDisplay::PrepareEdit(bool capture)
{
    StopHoverPulse();
    if (capture)
        FSettings.CaptureFromView();
}

void TEgoNetGraphDisplay::ApplySettings()
{
    SetDisplayOptions(FSettings);
    SetAltColor(FSettings.nAltColor);
    SetGrpColor(FSettings.nGrpColor);
    FChanged = true;
    if (OnChangeSettings)
        OnChangeSettings(this);
}

void TEgoNetGraphDisplay::ApplySettingsToNodes()
{
    for (TOrganizedNode* node : FModel->Nodes())
        node->ApplyDefaults(FSettings);
}

void TEgoNetGraphDisplay::ApplySettingsToLinks()
{
    for (TEgoNetEdge* link : FModel->ShownLinks())
        link->ApplyDefaults(FSettings);
}

void TEgoNetGraphDisplay::SelectLinkTypes(const QStringList* types)
{
    if (!types || FModel->NodeCount() == 0 || FModel->LinkCount() == 0)
        return;
    FModel->SetShownLinkTypes(*types);
    LinksChanged(true);
}

void TEgoNetGraphDisplay::LinksChanged(bool restart)
{
    update();
    if (OnSelectEdgeTypes)
        OnSelectEdgeTypes(this);
    if (OnSelect)
        OnSelect(this);
    if (restart && FOptions.AutoOrganize && FModel->ShownLinkCount() > 0)
        Organize(true);
}

void TEgoNetGraphDisplay::SetOrganizer(TOrganizeThread* worker)
{
    FOrganizer = worker;
    if (worker) {
        worker->OnIteration = [this] {
            if (OnOrganizeIteration)
                OnOrganizeIteration(this);
        };
        worker->OnDone = [this] {
            if (OnOrganizeDone)
                OnOrganizeDone(this);
        };
    }
    OnBeforePaint = nullptr;
}

void TEgoNetGraphDisplay::LayoutGone(TOrganizeThread* layout)
{
    if (FOrganizer == layout)
        FOrganizer = nullptr;
}

void TEgoNetGraphDisplay::Organize(bool start)
{
    if (!FOrganizer)
        return;
    if (!start) {
        FOrganizer->Suspend();
        return;
    }
    if (FModel->NodeCount() == 0)
        return;
    FOrganizer->Prepare();
    PlaySoundEffect(QStringLiteral("CHIME01.WAV"));
    FOrganizer->Resume();
}

void TEgoNetGraphDisplay::SetLinkTypeColors(const QList<TLinkTypeColour>& types)
{
    if (types.isEmpty() || FModel->LinkCount() == 0)
        return;
    for (TEgoNetEdge* link : FModel->Links()) {
        for (const TLinkTypeColour& type : types) {
            // Link types never differ by letter case alone, here as everywhere.
            if (link->TypeName().compare(type.first, Qt::CaseInsensitive) == 0) {
                link->Color = type.second;
                link->HeadColor = type.second;
                break;
            }
        }
    }
    update();
}

int TEgoNetGraphDisplay::IdealLinkLength() const
{
    const int a = FModel->EnabledLinkedNodeCount();
    int length = 10;
    if (a > 1) {
        // A zoomed view can be larger than 46340 pixels each way.
        const int64_t area = int64_t(width()) * height();
        // The root of the exact quotient, rounded to a float once.
        const float d = float(std::sqrt(double(area) / a));
        const double t = area / 1000.0 - 273;
        int32_t e;
        if (a <= 36)
            e = RoundHalfEven(d / std::max(t * -0.00113 + 4, 1.0));
        else if (a <= 91)
            e = RoundHalfEven(d / std::max(t * -0.00085 + 3.5, 1.0));
        else
            e = RoundHalfEven(t * 0.0325 + 15);
        length = std::max(RoundHalfEven(e * 0.9), 10);
    }
    if (LinkLengthFactor != 1.0f)
        length = RoundHalfEven(length * double(LinkLengthFactor));
    return length;
}

TRect TEgoNetGraphDisplay::NodesBounds(const TIntVector* excluded) const
{
    const QList<TOrganizedNode*>& nodes = FModel->Nodes();
    TIntVector unlinked;
    if (!excluded)
        FModel->UnlinkedNodes(&unlinked);
    const std::vector<bool> leftOut = (excluded ? *excluded : unlinked).Marks(nodes.size());
    TRect bounds;
    bool first = true;
    for (int i = 0; i < nodes.size(); ++i) {
        if (leftOut[size_t(i)])
            continue;
        const QPoint p = nodes[i]->Position;
        if (first) {
            bounds = TRect{p.x(), p.y(), p.x(), p.y()};
            first = false;
            continue;
        }
        bounds.Left = std::min(bounds.Left, p.x());
        bounds.Top = std::min(bounds.Top, p.y());
        bounds.Right = std::max(bounds.Right, p.x());
        bounds.Bottom = std::max(bounds.Bottom, p.y());
    }
    return bounds;
}

void TEgoNetGraphDisplay::ArrangeIsolates(const TIntVector& isolates)
{
    const QList<TOrganizedNode*>& nodes = FModel->Nodes();
    const std::vector<bool> isolated = isolates.Marks(nodes.size());
    QPoint next(12, 12);
    for (int i = 0; i < nodes.size(); ++i) {
        if (!isolated[size_t(i)])
            continue;
        TOrganizedNode* node = nodes[i];
        node->Position = next;
        node->LabelOrientation = kLabelRight;
        next.ry() += node->Size + 3;
        // A full column continues in a second one, which keeps restarting at its top.
        if (next.y() > height() - kEdgeMargin)
            next = QPoint(72, 12);
    }
}

void TEgoNetGraphDisplay::CenterGraph()
{
    if (FModel->NodeCount() == 0)
        return;
    TIntVector isolates;
    FModel->UnlinkedNodes(&isolates);
    if (FModel->NodeCount() == 1) {
        ArrangeIsolates(isolates);
        update();
        return;
    }
    const int w = width() - kLabelMargin;
    const int h = height() - kEdgeMargin;
    // A view smaller than its margins has no room to clamp into: every node would land in its corner.
    if (w < kEdgeMargin || h < kEdgeMargin)
        return;
    const TRect b = NodesBounds(&isolates);
    if (b.IsEmpty())
        return;
    // In 64 bits: a damaged file may spread the nodes over the whole 32-bit range.
    const auto shift = [](int64_t room, int64_t low, int64_t high) {
        return int32_t(std::clamp<int64_t>((room + low - high) / 2 - low, std::numeric_limits<int32_t>::min(),
                                           std::numeric_limits<int32_t>::max()));
    };
    FModel->MoveAll(shift(w, b.Left, b.Right), shift(h, b.Top, b.Bottom));
    const QList<TOrganizedNode*>& nodes = FModel->Nodes();
    const std::vector<bool> isolated = isolates.Marks(nodes.size());
    for (int i = 0; i < nodes.size(); ++i) {
        if (isolated[size_t(i)])
            continue;
        QPoint& p = nodes[i]->Position;
        p = QPoint(std::max(kEdgeMargin, std::min(w, p.x())), std::max(kEdgeMargin, std::min(h, p.y())));
    }
    ArrangeIsolates(isolates);
    update();
}

QSize TEgoNetGraphDisplay::HostSize() const
{
    const QWidget* host = parentWidget();
    return host ? host->frameGeometry().size() : frameGeometry().size();
}

void TEgoNetGraphDisplay::BestFit()
{
    if (FModel->NodeCount() == 0)
        return;
    const TRect b = NodesBounds(nullptr);
    if (b.IsEmpty())
        return;
    const QSize host = HostSize();
    const int m = RoundHalfEven(std::max(0.125 * host.height(), 0.125 * host.width()));
    const double W = host.width() - kLabelMargin - m;
    const double H = host.height() - kEdgeMargin - m;
    const double w = b.Right - b.Left + 1;
    const double h = b.Bottom - b.Top + 1;
    // A graph smaller than the window is enlarged, a larger one shrunk.
    double s;
    if ((W >= w && H >= h) || (W < w && H < h))
        s = std::min(W / w, H / h);
    else if (W < w)
        s = W / w;
    else
        s = H / h;
    // A host too small for its margins leaves no room: a scale of zero would pile every node on
    // one point, a negative one mirror the graph.
    if (s <= 0)
        return;
    FModel->ScaleAll(s);
    CenterGraph();
    StraightenLinks(false);
    update();
}

void TEgoNetGraphDisplay::StraightenLinks(bool prepare)
{
    if (FModel->NodeCount() == 0 || FModel->ShownLinkCount() == 0)
        return;
    if (prepare)
        PrepareEdit(true);
    FModel->SpreadParallelLinks(IdealLinkLength());
    update();
}

bool TEgoNetGraphDisplay::SaveImage(const QString& fileName, int option)
{
    if (fileName.isEmpty())
        return false;
    if (QFileInfo(fileName).suffix().compare(QLatin1String("eng"), Qt::CaseInsensitive) == 0) {
        // The answer is false either way and the caller warns about it; a failed write must not
        // escape past the caller instead. The graph then stays changed.
        try {
            WriteGraphFile(fileName);
        } catch (const EStreamError&) {
        }
        return false;
    }
    if (!FOutput)
        return false;
    try {
        return FOutput->SavePicture(*this, QRect(0, 0, width(), height()), fileName, option);
    } catch (...) {
        return false;
    }
}

bool TEgoNetGraphDisplay::PrintGraph()
{
    if (!FOutput || !FOutput->PrinterAvailable())
        return false;
    try {
        return FOutput->PrintPicture(*this, QRect(0, 0, width(), height()));
    } catch (...) {
        return false;
    }
}

void TEgoNetGraphDisplay::PlaySoundEffect(const QString& name)
{
    if (!FOptions.SoundEffects)
        return;
    const QString path = QDir(QCoreApplication::applicationDirPath()).filePath(name);
    if (!QFileInfo::exists(path))
        return;
    if (!FSound)
        FSound = new QSoundEffect(this);
    FSound->setSource(QUrl::fromLocalFile(path));
    FSound->play();
}

// Animations

void TEgoNetGraphDisplay::StartBlink(TOrganizedNode* node, int times)
{
    // A blink cut short must not leave its node hidden.
    if (TOrganizedNode* old = FBlinkNode.Get(*FModel); FBlinking && old)
        old->Visible = true;
    FBlinking = false;
    FBlinkTimer.stop();
    FBlinkNode = node;
    if (!node)
        return;
    FBlinkCount = times;
    FBlinking = true;
    FBlinkTimer.start();
}

void TEgoNetGraphDisplay::BlinkTick()
{
    // The node may have been deleted since the blink began.
    TOrganizedNode* node = FBlinkNode.Get(*FModel);
    if (!node) {
        StartBlink(nullptr, 0);
        return;
    }
    node->Visible = !node->Visible;
    --FBlinkCount;
    if (node->Visible && FBlinkCount <= 0) {
        FBlinkTimer.stop();
        FBlinking = false;
    }
    update();
}

void TEgoNetGraphDisplay::StartHoverPulse(int index)
{
    StopHoverPulse();
    TOrganizedNode* node = FModel->GetNode(index);
    if (!node || !node->Visible || node->Shape == kNoShape)
        return;
    FHoverIndex = index;
    FHover = node;
    FHoverSize = node->Size;
    FPulseTicks = 0;
    FHoverTimer.start();
}

void TEgoNetGraphDisplay::HoverTick()
{
    if (FHoverIndex < 0)
        return;
    if (++FPulseTicks > 2) {
        StopHoverPulse();
    } else if (TOrganizedNode* node = HoverNode()) {
        node->Size += 3;
    }
    update();
}

void TEgoNetGraphDisplay::StopHoverPulse()
{
    FHoverTimer.stop();
    FPulseTicks = 0;
    TOrganizedNode* node = HoverNode();
    if (node && node->Size != FHoverSize)
        node->Size = FHoverSize;
}

void TEgoNetGraphDisplay::ResetHover()
{
    StopHoverPulse();
    FHoverIndex = -1;
    FHover = {};
    FHoverSize = 0;
}

TOrganizedNode* TEgoNetGraphDisplay::HoverNode()
{
    TOrganizedNode* node = FHover.Get(*FModel);
    if (node && FModel->GetNode(FHoverIndex) == node)
        return node;
    FHoverTimer.stop();
    FPulseTicks = 0;
    FHoverIndex = -1;
    FHover = {};
    return nullptr;
}

void TEgoNetGraphDisplay::WaitProcessing(int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    for (qint64 left = milliseconds; left > 0; left = milliseconds - clock.elapsed())
        QCoreApplication::processEvents(QEventLoop::AllEvents, int(left));
}

// The graph file

void TEgoNetGraphDisplay::WriteGraphFile(const QString& fileName)
{
    FSettings.DeriveFromGraph();
    ::WriteGraphFile(fileName, TGraphHeader{Caption, Description}, FSettings, *FModel);
    SetIsChanged(false);
}

bool TEgoNetGraphDisplay::ReadGraphFile(const QString& fileName)
{
    Organize(false);
    ResetHover();
    StartBlink(nullptr, 0);
    TGraphHeader header{Caption, Description};
    // The header is the view's as soon as it is read, even when a later block fails.
    const auto takeHeader = [&] {
        Caption = header.Caption;
        Description = header.Description;
    };
    bool loaded = false;
    try {
        loaded = ::ReadGraphFile(fileName, header, FSettings, *FModel, [&] {
            takeHeader();
            ApplySettings();
        });
    } catch (const EStreamError& error) {
        takeHeader();
        UpdateCurrent();
        update();
        UserDialogs().Show(error.Message(), TMessageKind::Warning);
        return false;
    }
    if (!loaded)
        return false;
    UpdateCurrent();
    SetIsChanged(false);
    update();
    return true;
}

// Painting

void TEgoNetGraphDisplay::paintEvent(QPaintEvent* event)
{
    QPainter canvas(this);
    Paint(canvas, event->rect());
    FInteraction->PaintFeedback(canvas);
}

void TEgoNetGraphDisplay::Paint(QPainter& canvas, const QRect& area)
{
    // A clip inside the device keeps Qt's line drawing on its fast path.
    canvas.setClipRect(area);
    const QColor background = ToQColor(FOptions.BkColor);
    canvas.fillRect(rect(), background);
    // The drawers give labels the canvas brush as their background.
    canvas.setBrush(background);
    if (FOptions.ShowBkImage && !FSettings.BkImage.isNull())
        DrawBackgroundPicture(canvas);
    if (OnBeforePaint)
        OnBeforePaint(this);
    if (FModel->NodeCount() == 0)
        return;
    const QList<TOrganizedNode*>& nodes = FModel->Nodes();
    for (qsizetype i = nodes.size() - 1; i >= 0; --i) {
        TOrganizedNode* node = nodes[i];
        if (!node->IsGroup && !node->HasGroups() && !node->Enabled)
            node->Visible = FOptions.ShowDisabledNodes;
    }
    if (FModel->EnabledNodeCount() > 0)
        FClusterOutlines.DrawClusterOutlines(canvas, *FModel, HullColor, ShowClusterLabels);
    FHandleLink = nullptr;
    DrawLinksAndNodes(canvas);
    // The handle of the one selected link goes over the nodes.
    if (FHandleLink)
        FEdgeDrawer.DrawHandle(canvas, FHandleLink);
}

void TEgoNetGraphDisplay::DrawBackgroundPicture(QPainter& canvas)
{
    const QImage& picture = FSettings.BkImage;
    const int cw = width();
    const int ch = height();
    const int pw = picture.width();
    const int ph = picture.height();
    if (ph <= 0 || pw == 0 || cw <= 0 || ch <= 0)
        return;
    // The ratios are floats; what is computed from them is not rounded to a float again.
    const double r1 = float(ch) / float(cw);
    const double r2 = float(ph) / float(pw);
    QRect target(0, 0, cw, ch);
    if (std::fabs(r1 - r2) > 0.001) {
        const int w = RoundHalfEven(ch / r2);
        if (w < cw) {
            target = QRect((cw - w) / 2, 0, w, ch);
        } else {
            const int h = RoundHalfEven(cw * r2);
            target = QRect(0, (ch - h) / 2, cw, h);
        }
    }
    canvas.drawImage(target, picture);
}

void TEgoNetGraphDisplay::DrawLinksAndNodes(QPainter& canvas)
{
    CollectDrawOrder();
    const TNodeDrawOptions nodeOptions{FOptions.nSelectionColor, FOptions.ShowBorders, FOptions.ShowLabel,
                                       FOptions.ShowImage, FOptions.ShowShape};
    if (!FOptions.ShowEdges) {
        FNodeDrawer.DrawNodes(canvas, FDrawOrder, nodeOptions);
        return;
    }
    const QList<TEgoNetEdge*>& links = FModel->ShownLinks();
    qsizetype single = -1;
    int selected = 0;
    for (qsizetype i = 0; i < links.size(); ++i) {
        if (links[i]->IsSelfLoop())
            TEgoNetModel::PlaceSelfLoop(links[i], kSelfLoopLength);
        if (links[i]->Selected() && ++selected == 1)
            single = i;
    }
    // Only a link selected alone shows its handle.
    FHandleLink = selected == 1 ? links[single] : nullptr;
    const TLinkDrawOptions linkOptions{FOptions.nSelectionColor, FOptions.ShowDirections, FOptions.ShowStress,
                                       FOptions.ShowEdgeLabel, FOptions.ShowEdgeType};
    const std::span all(links.data(), size_t(links.size()));
    if (FDrawOrder.size() < kLayeredNodes || !TEgoNetNodeDrawer::DrawsOpaque(FDrawOrder, nodeOptions, canvas.brush())
        || !FNodeLayer.Prepare(canvas)) {
        FEdgeDrawer.DrawLinks(canvas, all, FHandleLink, linkOptions);
        FNodeDrawer.DrawNodes(canvas, FDrawOrder, nodeOptions);
        return;
    }
    // The links from split on and then the nodes go on a layer that the second core paints
    // meanwhile. The handle's guides blend with what lies below, so that link stays on the
    // canvas. The links on the canvas read the nodes: what the layer's painting stores in them
    // waits until both are done.
    const size_t split = std::clamp(FCanvasLinks, size_t(selected == 1 ? single + 1 : 0), all.size());
    FLayerEdgeDrawer.KeepNodeChanges(&FLayerChanges);
    FNodeDrawer.KeepNodeChanges(&FLayerChanges);
    const auto start = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point layerDone;
    FEdgeDrawer.DrawLinks(canvas, all.first(split), FHandleLink, linkOptions, [&] {
        FNodeLayer.Paint([&](QPainter& layer) {
            FLayerEdgeDrawer.DrawLinks(layer, all.subspan(split), FHandleLink, linkOptions);
            FNodeDrawer.DrawNodes(layer, FDrawOrder, nodeOptions);
        });
        layerDone = std::chrono::steady_clock::now();
    });
    BalanceLinks(split, all.size(), layerDone - start, std::chrono::steady_clock::now() - start);
    FLayerEdgeDrawer.KeepNodeChanges(nullptr);
    FNodeDrawer.KeepNodeChanges(nullptr);
    FLayerChanges.Store();
    FNodeLayer.LayOver(canvas);
}

void TEgoNetGraphDisplay::BalanceLinks(size_t split, size_t count, std::chrono::duration<double> layer,
                                       std::chrono::duration<double> both)
{
    // When the layer was done first, the canvas's thread went on alone for the rest: hand over
    // about half of that in links, at the canvas's cost per link. When the layer was last (the
    // threads' hand-over alone takes a tenth of a millisecond or so), take a few back.
    const double alone = (both - layer).count();
    if (split > 0 && alone > std::max(0.3e-3, 0.03 * both.count()))
        FCanvasLinks = split - size_t(alone / 2 / (both.count() / double(split)));
    else
        FCanvasLinks = std::min(count, split + count / 50 + 1);
}

void TEgoNetGraphDisplay::CollectDrawOrder()
{
    const QList<TOrganizedNode*>& nodes = FModel->Nodes();
    TOrganizedNode* hover = HoverNode();
    FDrawOrder.clear();
    const auto pass = [&](auto&& wanted) {
        for (qsizetype i = 0; i < nodes.size(); ++i)
            if (i != FHoverIndex && wanted(*nodes[i]))
                FDrawOrder.push_back(nodes[i]);
    };
    // Disabled nodes and expanded groups lie at the bottom, isolated nodes below connected
    // ones, selected connected nodes on top. A node that fits two passes is drawn twice.
    pass([&](const TOrganizedNode& n) {
        return (!n.HasGroups() && !n.Enabled && FOptions.ShowDisabledNodes) || (n.IsGroup && n.Expanded);
    });
    pass([](const TOrganizedNode& n) { return n.Enabled && !n.Linked; });
    pass([](const TOrganizedNode& n) { return n.Enabled && n.Linked && !n.Selected(); });
    if (hover)
        FDrawOrder.push_back(hover);
    pass([](const TOrganizedNode& n) { return n.Enabled && n.Linked && n.Selected(); });
}
