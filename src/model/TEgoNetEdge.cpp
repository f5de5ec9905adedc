#include "model/TEgoNetEdge.h"

#include "foundation/Rounding.h"
#include "model/RecordFields.h"

TEgoNetEdge::TEgoNetEdge(TEgoNetNode* source, TEgoNetNode* target)
    : Source(source)
    , Target(target)
{
    TEgoNetEdge::ApplyDefaults(DefaultLooks());
}

void TEgoNetEdge::AssignFrom(const TEgoNetEdge* source)
{
    if (!source)
        return;
    // The record holds no identity and no state flags, so the copy keeps its own.
    TFieldCopier copy;
    VisitLinkFields(copy, *this, *source);
    // Not in the record, but a copy carries them too.
    Tag = source->Tag;
    SetSelected(source->Selected());
}

void TEgoNetEdge::MarkEndsLinked()
{
    if (Source && Target) {
        Source->Linked = true;
        Target->Linked = true;
    }
}

void TEgoNetEdge::UpdateMidPoint(int32_t offset)
{
    if (!Source || !Target) {
        MidPoint = QPoint();
        CurvePoint = QPoint();
        return;
    }
    const QPoint p = Source->Position;
    const QPoint q = Target->Position;
    MidPoint = offset == 0 ? Middle(p, q) : OffsetMiddle(p, q, offset);
    UpdateCurvePoint();
}

void TEgoNetEdge::UpdateCurvePoint()
{
    if (Source && IsSelfLoop()) {
        const float d = Distance(Source->Position, MidPoint);
        CurvePoint = PointTowards(Source->Position, MidPoint, RoundHalfEven(d * 0.85));
    } else {
        CurvePoint = MidPoint;
    }
}

bool TEgoNetEdge::IsDuplicateOf(const TEgoNetEdge* other) const
{
    if (!other || other->ID == ID || other->TypeName() != TypeName())
        return false;
    // Callers only compare links between the same two persons.
    if (!Directed && !other->Directed)
        return true;
    return Source == other->Target && Target == other->Source;
}

TLinkAgreement TEgoNetEdge::Agreement(const TDisplayDefaults& settings) const
{
    return {.Color = Color == settings.eColor,
            .Width = Width == settings.eWidth,
            .Style = PenStyle == settings.eStyle,
            .Font = Font == settings.eFont,
            .HeadColor = HeadColor == settings.eHeadColor,
            .HeadLength = HeadLength == settings.eHeadLength,
            .HeadWidth = HeadWidth == settings.eHeadWidth};
}

void TEgoNetEdge::ApplyDefaults(const TDisplayDefaults& settings)
{
    Color = settings.eColor;
    Width = settings.eWidth;
    PenStyle = settings.eStyle;
    Font = settings.eFont;
    HeadColor = settings.eHeadColor;
    HeadLength = settings.eHeadLength;
    HeadWidth = settings.eHeadWidth;
}
