#pragma once

#include "foundation/THelperThread.h"
#include "layout/TOrganizeThread.h"

#include <limits>
#include <vector>

class TOrganizedNode;

// The force-directed layout: linked nodes pull each other like springs of the ideal link length,
// connected nodes push each other away within five lengths, and every movable node walks 2 pixels
// per step along its net force until the smoothed total force stops falling. Sums, distances and
// positions are 32-bit floats, distances through FastSqrt, so that runs repeat to the bit.
class TSpringEmbeddingOrganizer : public TOrganizeThread
{
public:
    // Prepares the first run at once.
    explicit TSpringEmbeddingOrganizer(ILayoutView* view);

    // The ideal link length L of the run.
    int SpringLength = 0;
    // Half the sum of the force lengths of the last step, smoothed from the second step on.
    float Energy = 0;
    float LastEnergy = std::numeric_limits<float>::infinity();
    // Steps in which the smoothed energy did not fall.
    int StallCount = 0;

    void Prepare() override;
    void Step() override;

protected:
    // One step around ego (none for the plain layout): the ego walks 3 pixels a step towards
    // the view's centre, pulls no node it links to, pushes five times harder and is moved by
    // nothing else. An ego that is set but gone from the model (egoSet without ego) ends the run
    // as one that does not qualify. straighten re-places the links every second animated step.
    // The run also goes on while the ego is more than 3 pixels from the centre and its step
    // still moves it.
    void LayoutStep(TOrganizedNode* ego, bool egoSet, bool straighten);

private:
    // Per step: the active connected nodes in model order, their positions and pushes.
    std::vector<TOrganizedNode*> FPushing;
    std::vector<float> FX, FY, FSumX, FSumY;
    // Sums half of the pushes of a large network while this thread sums the other half.
    THelperThread FHelper;
};
