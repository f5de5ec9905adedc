#include "layout/TEgoOrganizer.h"

TEgoOrganizer::TEgoOrganizer(ILayoutView* view)
    : TSpringEmbeddingOrganizer(view)
{
    LayoutName = QStringLiteral("Ego-sentric Layout");
    FrozenEndsBlock = true;
}

void TEgoOrganizer::Step()
{
    LayoutStep(FEgo, true);
}
