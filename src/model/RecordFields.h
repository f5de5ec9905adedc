#pragma once

#include "model/TEgoNetEdge.h"

#include <QStringList>

// The persisted fields of a person and of a link, each listed once, in the order of its record.
// The record writer and reader, the JSON form of the tool and AssignFrom all walk these lists.
//
// A visitor v is called, for one object or for a target and its source at once, as
//   v(key, field...)                         a plain field, its kind given by its type: QString text,
//                                            bool flag, int32_t integer, uint8_t code, uint32_t colour,
//                                            float, double date, QPoint point, QStringList list,
//                                            TFontData font, TPoints points
//   v.Property(key, access, object...)       a value behind a getter and a setter, access::Get and
//                                            access::Set; a picture (QImage) is always one
//   v.Ends(sourceKey, targetKey, link...)    the IDs of a link's ends, which the graph resolves
// The keys are the names of the JSON form.

// Setting these does more than store the value: trimming, stamping the selection, building masks.
struct TTypeNameField
{
    static const QString& Get(const TEgoNetObject& o) { return o.TypeName(); }
    static void Set(TEgoNetObject& o, const QString& value) { o.SetTypeName(value); }
};

struct TCaptionField
{
    static const QString& Get(const TEgoNetObject& o) { return o.Caption(); }
    static void Set(TEgoNetObject& o, const QString& value) { o.SetCaption(value); }
};

struct TSelectedField
{
    static bool Get(const TEgoNetObject& o) { return o.Selected(); }
    static void Set(TEgoNetObject& o, bool value) { o.SetSelected(value); }
};

struct TPictureField
{
    static const QImage& Get(const TEgoNetNode& n) { return n.Image; }
    static void Set(TEgoNetNode& n, const QImage& value)
    {
        n.Image = value;
        n.BuildImageMasks();
    }
    // A copy takes the masks along rather than building them again.
    static void Copy(TEgoNetNode& target, const TEgoNetNode& source)
    {
        target.Image = source.Image;
        target.ImageColorPart = source.ImageColorPart;
        target.ImageMask = source.ImageMask;
    }
};

// The attributes are stored as the plain list of their entries.
inline QStringList& AttributeEntries(TAttributes& attributes)
{
    return attributes;
}

inline const QStringList& AttributeEntries(const TAttributes& attributes)
{
    return attributes;
}

// The end both records share.
template <typename Visitor, typename... Objects>
void VisitSharedTailFields(Visitor& v, Objects&... o)
{
    v("Attributes", AttributeEntries(o.Attributes)...);
    v("IsGroup", o.IsGroup...);
    v("GroupIDs", o.GroupIDs...);
    v("Clusters", o.Clusters...);
    v("ReservedInt1", o.ReservedInt1...);
    v("ReservedInt2", o.ReservedInt2...);
    v("Key", o.Key...);
    v("HideLabel", o.HideLabel...);
    v("ReservedFloat", o.ReservedFloat...);
}

template <typename Visitor, typename... Nodes>
void VisitNodeFields(Visitor& v, Nodes&... n)
{
    v("ID", n.ID...);
    v.Property("TypeName", TTypeNameField{}, n...);
    v.Property("Caption", TCaptionField{}, n...);
    v("ReservedFlag", n.ReservedFlag...);
    v("Position", n.Position...);
    v("LabelPos", n.LabelPos...);
    v("LabelOrientation", n.LabelOrientation...);
    v("ImageID", n.ImageID...);
    v.Property("Image", TPictureField{}, n...);
    v("ImageTransparent", n.ImageTransparent...);
    v("Font", n.Font...);
    v("Shape", n.Shape...);
    v("Color", n.Color...);
    v("Size", n.Size...);
    v("Linked", n.Linked...);
    // Selecting stamps the present moment; SelectTime, coming later, then sets the stamp.
    v.Property("Selected", TSelectedField{}, n...);
    v("Enabled", n.Enabled...);
    v("Visible", n.Visible...);
    v("Movable", n.Movable...);
    v("SelectTime", n.SelectTime...);
    VisitSharedTailFields(v, n...);
}

template <typename Visitor, typename... Links>
void VisitLinkFields(Visitor& v, Links&... l)
{
    v.Property("TypeName", TTypeNameField{}, l...);
    v.Ends("Source", "Target", l...);
    v("Directed", l.Directed...);
    v("Bends", l.Bends...);
    v("MidPoint", l.MidPoint...);
    v("CurvePoint", l.CurvePoint...);
    v("Offset", l.Offset...);
    v.Property("Caption", TCaptionField{}, l...);
    v("Strength", l.Strength...);
    v("Color", l.Color...);
    v("Width", l.Width...);
    v("PenStyle", l.PenStyle...);
    v("Font", l.Font...);
    v("HeadLength", l.HeadLength...);
    v("HeadWidth", l.HeadWidth...);
    v("HeadColor", l.HeadColor...);
    VisitSharedTailFields(v, l...);
}

// Copies every visited field of a source object into a target: Visit*Fields(copier, target, source).
class TFieldCopier
{
public:
    template <typename T>
    void operator()(const char*, T& target, const T& source)
    {
        target = source;
    }

    template <typename Access, typename Object>
    void Property(const char*, Access, Object& target, const Object& source)
    {
        if constexpr (requires { Access::Copy(target, source); })
            Access::Copy(target, source);
        else
            Access::Set(target, Access::Get(source));
    }

    void Ends(const char*, const char*, TEgoNetEdge& target, const TEgoNetEdge& source)
    {
        target.Source = source.Source;
        target.Target = source.Target;
    }
};
