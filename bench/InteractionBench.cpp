// What the pointer does to a 1000-person view, each measured with the repaint it causes: one
// move of a node drag with 100 persons selected, one move of a rubber band, one zoom step in and
// out. Each must fit a 60 Hz frame (16.7 ms).
#include "ViewBenchSupport.h"

#include "view/TEgoNetGraphEx.h"
#include "view/TGraphInteraction.h"

#include <QCoreApplication>
#include <QMouseEvent>

#include <benchmark/benchmark.h>

namespace {

void Send(QWidget& view, QEvent::Type type, QPoint at, Qt::MouseButtons buttons)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, view.mapToGlobal(at), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(&view, &event);
}

// Handles the repaint that the last event asked for.
void Repaint()
{
    QCoreApplication::processEvents();
}

// A view in a shown host, so that repaints really happen.
std::unique_ptr<TEgoNetGraphEx> ShownHost(int persons)
{
    auto host = std::make_unique<TEgoNetGraphEx>();
    host->resize(kWidth, kHeight);
    host->show();
    FillView(&host->Graph(), persons);
    host->FitGraphToClient();
    Repaint();
    return host;
}

void BM_DragMove(benchmark::State& state)
{
    auto host = ShownHost(int(state.range(0)));
    TEgoNetGraphDisplay& view = host->Graph();
    TEgoNetModel& model = view.Model();
    for (int i = 0; i < model.NodeCount(); i += model.NodeCount() / 100)
        model.GetNode(i)->SetSelected(true);
    // Press on a selected person that is the topmost at its place, so the selection stays.
    QPoint start;
    for (TOrganizedNode* node : model.Nodes())
        if (node->Selected() && view.Interaction().NodeAt(node->Position) == model.IndexOfNode(node))
            start = node->Position;
    Send(view, QEvent::MouseButtonPress, start, Qt::LeftButton);
    int step = 0;
    for (auto _ : state) {
        // Back and forth, so that the rectangles stay on the picture.
        const QPoint at = start + QPoint((step++ % 20) * 3, 0);
        Send(view, QEvent::MouseMove, at, Qt::LeftButton);
        Repaint();
    }
    Send(view, QEvent::MouseButtonRelease, start, Qt::NoButton);
    state.counters["selected"] = double(model.SelectedNodeCount());
}
BENCHMARK(BM_DragMove)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_RubberBand(benchmark::State& state)
{
    auto host = ShownHost(int(state.range(0)));
    TEgoNetGraphDisplay& view = host->Graph();
    // A band from a free corner over most of the picture.
    QPoint start(2, 2);
    while (view.Interaction().NodeAt(start) >= 0 || view.Interaction().LinkAt(start).Index >= 0)
        start += QPoint(1, 1);
    Send(view, QEvent::MouseButtonPress, start, Qt::LeftButton);
    int step = 0;
    for (auto _ : state) {
        const QPoint at(kWidth / 2 + (step % 40) * 15, kHeight / 2 + (step % 40) * 9);
        ++step;
        Send(view, QEvent::MouseMove, at, Qt::LeftButton);
        Repaint();
    }
    Send(view, QEvent::MouseButtonRelease, QPoint(kWidth - 10, kHeight - 10), Qt::NoButton);
    state.counters["selected"] = double(view.Model().SelectedNodeCount());
}
BENCHMARK(BM_RubberBand)->Arg(1000)->Unit(benchmark::kMillisecond);

// One step each way with its repaint. Above factor 1 the view grows and shrinks back; below it
// (zoomed out first) the persons are pulled together and pushed apart instead.
void BM_Zoom(benchmark::State& state, bool belowOne)
{
    auto host = ShownHost(int(state.range(0)));
    const auto there = belowOne ? &TEgoNetGraphEx::ZoomOut : &TEgoNetGraphEx::ZoomIn;
    const auto back = belowOne ? &TEgoNetGraphEx::ZoomIn : &TEgoNetGraphEx::ZoomOut;
    for (auto _ : state) {
        (host.get()->*there)();
        Repaint();
        (host.get()->*back)();
        Repaint();
    }
    state.counters["zoom"] = host->Zoom();
}
BENCHMARK_CAPTURE(BM_Zoom, InOut, false)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Zoom, Positions, true)->Arg(1000)->Unit(benchmark::kMillisecond);

} // namespace
