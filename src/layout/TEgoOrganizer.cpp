#include "layout/TEgoOrganizer.h"

#include "layout/ILayoutView.h"
#include "model/TEgoNetModel.h"

TEgoOrganizer::TEgoOrganizer(ILayoutView* view)
    : TSpringEmbeddingOrganizer(view)
{
    LayoutName = QStringLiteral("Ego-sentric Layout");
    FrozenEndsBlock = true;
}

void TEgoOrganizer::SetEgo(TOrganizedNode* node)
{
    FEgo = node;
    FEgoID = node ? node->ID : QString();
}

void TEgoOrganizer::Step()
{
    // The pointer is compared, never followed, until the ego is known to be in the model.
    TOrganizedNode* ego = FEgo;
    if (ego && (!FView || FView->LayoutModel().IndexOfNode(ego) < 0 || ego->ID != FEgoID))
        ego = nullptr;
    LayoutStep(ego, FEgo != nullptr, true);
}
