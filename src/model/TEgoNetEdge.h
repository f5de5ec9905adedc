#pragma once

#include "foundation/TPoints.h"
#include "model/TEgoNetNode.h"

#include <QPoint>

// A connection between two persons. The ends are plain references: the model removes a
// node's links before it frees the node.
class TEgoNetEdge : public TEgoNetObject
{
public:
    explicit TEgoNetEdge(TEgoNetNode* source = nullptr, TEgoNetNode* target = nullptr);

    TEgoNetNode* Source = nullptr;
    TEgoNetNode* Target = nullptr;
    bool Directed = true;
    TPoints Bends;
    QPoint MidPoint;
    QPoint CurvePoint;
    int32_t Offset = 0;
    float Strength = 1.0f;
    int32_t Width = 1;
    uint8_t PenStyle = 0;
    int32_t HeadLength = 10;
    int32_t HeadWidth = 3;
    uint32_t HeadColor = 0x00D68200;

    // Copies the connection's look and content; the copy keeps its own identity and flags.
    void AssignFrom(const TEgoNetEdge* source);

    bool IsSelfLoop() const { return Source == Target; }
    void SwapEnds() { std::swap(Source, Target); }
    void MarkEndsLinked();
    void UpdateSelected() { SetSelected(Source && Target && Source->Selected() && Target->Selected()); }
    void UpdateEnabled() { Enabled = Source && Target && Source->Enabled && Target->Enabled; }
    void UpdateVisible() { Visible = Source && Target && Source->Visible && Target->Visible; }
    void UpdateMidPoint(int32_t offset);
    void UpdateCurvePoint();
    bool IsDuplicateOf(const TEgoNetEdge* other) const;

    TLinkAgreement Agreement(const TDisplayDefaults& settings) const;
    bool MatchesDefaults(const TDisplayDefaults& settings) const override { return Agreement(settings).All(); }
    void ApplyDefaults(const TDisplayDefaults& settings) override;
};
