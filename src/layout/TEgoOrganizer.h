#pragma once

#include "layout/TSpringEmbeddingOrganizer.h"
#include "model/TObjectRef.h"

// The layout around one person, the ego: the ego walks to the centre of the view and stays
// there while the spring layout spreads everybody else around it, pushed five times harder by
// the ego. Without an ego it is the spring layout in which links to frozen nodes do not pull.
// Animated, it re-places the links every second step.
class TEgoOrganizer : public TSpringEmbeddingOrganizer
{
public:
    explicit TEgoOrganizer(ILayoutView* view);

    // Takes effect from the next step; none lays out without an ego.
    void SetEgo(TOrganizedNode* node);

    void Step() override;

private:
    // An ego deleted from the model ends every run.
    TObjectRef<TOrganizedNode> FEgo;
};
