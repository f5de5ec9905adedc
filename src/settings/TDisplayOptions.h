#pragma once

#include <cstdint>

// How the view shows and handles a graph: its colours, what it draws and how it behaves. The
// view holds one; the display-settings record captures it from the view and gives it back
// whole. Value-initialised it shows nothing on a white background, as a view does before any
// settings reach it; the record's built-in defaults are its own.
struct TDisplayOptions
{
    uint32_t BkColor = 0xFFFFFF;
    uint32_t ClusterColor = 0;
    uint32_t PositionColor = 0;
    uint32_t nSelectionColor = 0;
    bool ShowBkImage = false;
    bool ShowShape = false;
    bool ShowImage = false;
    // The node labels.
    bool ShowLabel = false;
    bool ShowDisabledNodes = false;
    bool ShowToolTips = false;
    bool ShowBorders = false;
    bool ShowEdges = false;
    bool ShowDirections = false;
    bool ShowEdgeLabel = false;
    bool ShowStress = false;
    bool ShowEdgeType = false;
    bool AutoOrganize = false;
    // The layouts' animation flag.
    bool Animation = false;
    bool SoundEffects = false;
};
