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
}

void TEgoOrganizer::Step()
{
    TOrganizedNode* ego = FView ? FEgo.Get(FView->LayoutModel()) : nullptr;
    LayoutStep(ego, FEgo.IsSet(), true);
}
