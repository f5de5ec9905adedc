#pragma once

// The fields of the display-settings block, each listed once, in the order of the block, with
// its key in the tool's JSON form; StyleName and PositionColor are not in the block. The block
// writer and reader and the JSON form walk this list, with the visitors of the record fields.
template <typename Visitor, typename Settings>
void VisitSettingsFields(Visitor& v, Settings& s)
{
    v("BkColor", s.BkColor);
    v("ClusterColor", s.ClusterColor);
    v("BkImage", s.BkImage);
    v("ShowBkImage", s.ShowBkImage);
    v("ShowShape", s.ShowShape);
    v("ShowImage", s.ShowImage);
    v("ShowLabel", s.ShowLabel);
    v("ShowDisabledNodes", s.ShowDisabledNodes);
    v("ShowToolTips", s.ShowToolTips);
    v("ShowBorders", s.ShowBorders);
    v("ShowEdges", s.ShowEdges);
    v("ShowDirections", s.ShowDirections);
    v("ShowEdgeLabel", s.ShowEdgeLabel);
    v("ShowStress", s.ShowStress);
    v("Reserved1", s.Reserved1);
    v("Reserved2", s.Reserved2);
    v("ShowEdgeType", s.ShowEdgeType);
    v("AutoOrganize", s.AutoOrganize);
    v("Animation", s.Animation);
    v("SoundEffects", s.SoundEffects);
    v("Reserved3", s.Reserved3);
    v("nAltColor", s.nAltColor);
    v("nGrpColor", s.nGrpColor);
    v("nShape", s.nShape);
    v("nImageID", s.nImageID);
    v("nImageTransparent", s.nImageTransparent);
    v("nHeight", s.nHeight);
    v("nFont", s.nFont);
    v("nLbOrientation", s.nLbOrientation);
    v("nSelectionColor", s.nSelectionColor);
    v("eColor", s.eColor);
    v("eWidth", s.eWidth);
    v("eStyle", s.eStyle);
    v("eFont", s.eFont);
    v("eHeadColor", s.eHeadColor);
    v("eHeadLength", s.eHeadLength);
    v("eHeadWidth", s.eHeadWidth);
    v("eWeight", s.eWeight);
}
