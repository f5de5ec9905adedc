#pragma once

#include "foundation/Geometry.h"
#include "model/TEgoNetObject.h"

#include <QImage>
#include <QList>
#include <QPoint>

class TEgoNetEdge;

// A person: a node of the graph with a position, a shape, a size and a picture.
class TEgoNetNode : public TEgoNetObject
{
public:
    explicit TEgoNetNode(QPoint position = QPoint(), const QString& caption = QString());

    bool ReservedFlag = false;
    QPoint Position;
    QPoint LabelPos;
    uint8_t LabelOrientation = kLabelRight;
    QString ImageID = kNoImageID;
    QImage Image;
    // The picture with its transparent pixels black, and the mask that is white exactly there.
    QImage ImageColorPart;
    QImage ImageMask;
    bool ImageTransparent = false;
    // Set to the default looks by the constructor, as are the colour and the font.
    uint8_t Shape{};
    int32_t Size{};
    TRect DragRect{};

    // Copies everything a copy of a person should carry; the copy is stamped selected now.
    void AssignFrom(const TEgoNetNode* source);
    void BuildImageMasks();
    void ClearImage();

    TNodeAgreement Agreement(const TDisplayDefaults& settings) const;
    bool MatchesDefaults(const TDisplayDefaults& settings) const override { return Agreement(settings).All(); }
    void ApplyDefaults(const TDisplayDefaults& settings) override;

    // The links of the model that end here, each once, in no particular order. The model keeps
    // the list, so that a person's links are found without a pass over all links.
    const QList<TEgoNetEdge*>& OwnLinks() const { return FOwnLinks; }

private:
    friend class TEgoNetModel;
    QList<TEgoNetEdge*> FOwnLinks;
};

// The node the model creates: a person with the working values of the layouts.
class TOrganizedNode final : public TEgoNetNode
{
public:
    using TEgoNetNode::TEgoNetNode;

    // Working position and displacement of a layout run, and whether a shown link ends here;
    // not persisted.
    float fx = 0;
    float fy = 0;
    float dx = 0;
    float dy = 0;
    bool Connected = false;
};
