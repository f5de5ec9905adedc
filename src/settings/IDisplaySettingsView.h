#pragma once

#include "settings/TDisplayOptions.h"

#include <cstdint>

class TEgoNetModel;

// What the display-settings record reads from the graph view it belongs to. The view lives in a
// higher layer and implements this.
class IDisplaySettingsView
{
public:
    virtual ~IDisplaySettingsView() = default;

    virtual TDisplayOptions DisplayOptions() const = 0;
    // The view's node colours, which the record keeps with the other node defaults.
    virtual uint32_t AltColor() const = 0;
    virtual uint32_t GrpColor() const = 0;
    virtual const TEgoNetModel& Model() const = 0;
};
