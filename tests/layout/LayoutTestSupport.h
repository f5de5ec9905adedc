#pragma once

#include "foundation/TNumericVector.h"
#include "layout/ILayoutView.h"
#include "model/TEgoNetModel.h"

#include <QSize>
#include <gtest/gtest.h>

// A view for layouts without a widget: a model, a client size, a fixed ideal link length, and
// counters of what the layout asked for.
class TFakeLayoutView : public ILayoutView
{
public:
    explicit TFakeLayoutView(QSize size = QSize(400, 300), int linkLength = 30) : Size(size), LinkLength(linkLength) {}

    TEgoNetModel& LayoutModel() override { return Model; }
    QSize ClientSize() const override { return Size; }
    int IdealLinkLength() const override { return LinkLength; }
    void ArrangeIsolates(const TIntVector& isolates) override
    {
        // The view's rule for a view this tall: one column from (12, 12).
        int y = 12;
        for (int i = 0; i < isolates.Count(); ++i) {
            TOrganizedNode* node = Model.GetNode(isolates.Items(i));
            node->Position = QPoint(12, y);
            y += node->Size + 3;
        }
    }
    void StraightenLinks(bool prepare) override
    {
        ++Straightened;
        EXPECT_FALSE(prepare);
    }
    void Repaint() override { ++Repaints; }
    void ResetBeforePaint() override { ++BeforePaintResets; }

    TOrganizedNode* Add(int x, int y) { return Model.NewNode(QPoint(x, y), QString()); }
    TEgoNetEdge* Link(TOrganizedNode* a, TOrganizedNode* b) { return Model.NewLink(a, b, QString(), QString()); }

    TEgoNetModel Model;
    QSize Size;
    int LinkLength;
    int Straightened = 0;
    int Repaints = 0;
    int BeforePaintResets = 0;
};
