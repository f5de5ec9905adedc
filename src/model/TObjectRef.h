#pragma once

#include "model/TEgoNetModel.h"

#include <QString>

// A person or link held across events that may delete it (a drag, a blink, a layout run). It
// gives the object back only while the model still holds it under the same identifier: the
// pointer is compared, never followed, until the model is known to hold it, and a new object
// that takes over a freed object's address has another identifier.
template <typename T>
class TObjectRef
{
public:
    TObjectRef() = default;
    TObjectRef(T* object) : FObject(object), FID(object ? object->ID : QString()) {}

    T* Get(const TEgoNetModel& model) const { return FObject && Holds(model) && FObject->ID == FID ? FObject : nullptr; }
    bool IsSet() const { return FObject != nullptr; }

private:
    bool Holds(const TEgoNetModel& model) const
    {
        if constexpr (std::is_base_of_v<TEgoNetEdge, T>)
            return model.IndexOfLink(FObject) >= 0;
        else
            return model.IndexOfNode(FObject) >= 0;
    }

    T* FObject = nullptr;
    QString FID;
};
