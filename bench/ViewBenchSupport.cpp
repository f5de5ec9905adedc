#include "ViewBenchSupport.h"

#include <QRandomGenerator>

// Random persons over the picture. A laid-out network links persons that stand near each other, so
// each link goes to the nearest of a few random candidates; every fifth link is bent into a curve,
// as parallel links are.
void FillView(TEgoNetGraphDisplay* view, int persons)
{
    QRandomGenerator random(7);
    view->resize(kWidth, kHeight);
    view->SetSelectionColor(0x000000FF);
    view->SetShowBorders(true);
    view->SetShowCaption(true);
    view->SetShowShape(true);
    view->SetShowEdges(true);
    view->SetShowDirections(true);
    view->SetShowEdgeType(true);
    TEgoNetModel* model = &view->Model();
    const QStringList surnames{"Adler", "Berg", "Castro", "Dahl", "Eklund", "Ferrari"};
    for (int i = 0; i < persons; ++i)
        model->NewNode(QPoint(20 + random.bounded(kWidth - 40), 20 + random.bounded(kHeight - 40)),
                       QString("Person%1 %2").arg(i).arg(surnames[i % surnames.size()]));
    const QStringList types{"friend", "family", "work"};
    for (int i = 0; i < 2 * persons; ++i) {
        TEgoNetNode* source = model->GetNode(random.bounded(persons));
        TEgoNetNode* target = nullptr;
        for (int candidate = 0; candidate < 40; ++candidate) {
            TEgoNetNode* node = model->GetNode(random.bounded(persons));
            const auto distance = [&](const TEgoNetNode* n) { return (n->Position - source->Position).manhattanLength(); };
            if (node != source && (!target || distance(node) < distance(target)))
                target = node;
        }
        if (!target)
            continue;
        TEgoNetEdge* link = model->NewLink(source, target, types[random.bounded(int(types.size()))], QString());
        if (i % 5 == 0) {
            link->Offset = 25;
            link->UpdateMidPoint(link->Offset);
        }
    }
}


std::unique_ptr<TEgoNetGraphDisplay> BuildView(int persons)
{
    auto view = std::make_unique<TEgoNetGraphDisplay>();
    FillView(view.get(), persons);
    return view;
}
