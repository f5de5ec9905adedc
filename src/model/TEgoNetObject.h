#pragma once

#include "foundation/TAttributes.h"
#include "model/ModelConstants.h"
#include "model/TDisplayDefaults.h"
#include "model/TFontData.h"

#include <QString>
#include <QStringList>

#include <cstdint>

// A fresh identifier: 8 upper-case hexadecimal digits out of a random GUID.
QString NewObjectID();

// What persons and connections share: identity, type, label, font, colour, state flags and
// free attributes.
class TEgoNetObject
{
public:
    explicit TEgoNetObject(const QString& caption = QString());
    virtual ~TEgoNetObject() = default;

    TEgoNetObject& operator=(const TEgoNetObject&) = delete;

    QString ID;
    int32_t Tag = 0;
    TFontData Font;
    uint32_t Color{};
    bool Linked = false;
    bool Enabled = true;
    bool Visible = true;
    bool Movable = true;
    double SelectTime = 0;
    bool Expanded = false;
    TAttributes Attributes;
    bool IsGroup = false;
    QStringList GroupIDs;
    QStringList Clusters;
    int32_t ReservedInt1 = 0;
    int32_t ReservedInt2 = 0;
    QString Key;
    bool HideLabel = false;
    float ReservedFloat = 0;

    const QString& TypeName() const { return FTypeName; }
    void SetTypeName(const QString& value) { FTypeName = value.trimmed(); }
    const QString& Caption() const { return FCaption; }
    void SetCaption(const QString& value) { FCaption = value.trimmed(); }
    bool Selected() const { return FSelected; }
    // Selecting stamps the present moment; deselecting clears the stamp.
    void SetSelected(bool value);

    bool HasGroups() const { return !GroupIDs.isEmpty(); }
    bool InGroup(const QString& id) const { return GroupIDs.contains(id, Qt::CaseInsensitive); }
    bool InCluster(const QString& value) const { return Clusters.contains(value, Qt::CaseInsensitive); }
    bool IsActive() const { return Enabled && Visible; }
    bool TypeIn(const QStringList* list) const { return list && list->contains(FTypeName, Qt::CaseInsensitive); }

    // The tooltip: the caption when the label is not on the graph, then "name:  value" lines.
    QString HintText(bool labelShown) const;

    // Whether the appearance agrees with the defaults in every compared property.
    virtual bool MatchesDefaults(const TDisplayDefaults& settings) const = 0;
    virtual void ApplyDefaults(const TDisplayDefaults& settings) = 0;

protected:
    // The same object once more, identity and all: only a copy of the whole model makes one,
    // since two objects of one model never share an identity.
    TEgoNetObject(const TEgoNetObject&) = default;

private:
    QString FTypeName = kDefaultLinkType;
    QString FCaption;
    bool FSelected = false;
};
