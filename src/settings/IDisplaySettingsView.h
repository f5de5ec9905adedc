#pragma once

#include <cstdint>

class TEgoNetModel;

// What the display-settings record reads from the graph view it belongs to. The view lives in a
// higher layer and implements this; its own property getters carry these names.
class IDisplaySettingsView
{
public:
    virtual ~IDisplaySettingsView() = default;

    // The background colour.
    virtual uint32_t Color() const = 0;
    virtual uint32_t SelectionColor() const = 0;
    virtual uint32_t AltColor() const = 0;
    virtual uint32_t GrpColor() const = 0;
    virtual uint32_t ClusterColor() const = 0;
    virtual uint32_t PositionColor() const = 0;
    virtual bool ShowBkImage() const = 0;
    virtual bool ShowShape() const = 0;
    virtual bool ShowImage() const = 0;
    virtual bool ShowCaption() const = 0;
    virtual bool ShowEdges() const = 0;
    virtual bool ShowEdgeType() const = 0;
    virtual bool ShowEdgeLabel() const = 0;
    virtual bool ShowStress() const = 0;
    virtual bool ShowDirections() const = 0;
    virtual bool ShowDisabledNodes() const = 0;
    virtual bool ShowToolTips() const = 0;
    virtual bool ShowBorders() const = 0;
    virtual bool AutoOrganize() const = 0;
    virtual bool SoundEffects() const = 0;
    // The animation flag of the view's spring-embedding layout.
    virtual bool SpringAnimation() const = 0;
    virtual const TEgoNetModel& Model() const = 0;
};
