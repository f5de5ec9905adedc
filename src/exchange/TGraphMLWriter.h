#pragma once

#include <QByteArray>

class TEgoNetModel;

// Writes the network as GraphML that analysis and drawing tools open with labels, positions and
// colours: every attribute a typed key, Gephi's label/x/y/size/r/g/b/weight, and yEd's node and
// link graphics carrying the same values.
class TGraphMLWriter
{
public:
    static QByteArray Write(const TEgoNetModel& model);
};
