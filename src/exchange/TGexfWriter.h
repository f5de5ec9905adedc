#pragma once

#include <QByteArray>

class TEgoNetModel;

// Writes the network as GEXF 1.2draft with the viz module: position, colour and size of each
// person, colour and thickness of each link, every attribute a declared string column.
class TGexfWriter
{
public:
    static QByteArray Write(const TEgoNetModel& model);
};
