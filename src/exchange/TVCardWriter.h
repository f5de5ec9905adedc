#pragma once

#include <QByteArray>
#include <QList>

class TEgoNetNode;

// Writes persons as vCard 4.0, the fields mapped as TVCardReader maps them back: names, caption,
// sex, birthday, e-mail, the three phones, work, picture (PNG inside the card) and categories.
class TVCardWriter
{
public:
    static QByteArray Write(const QList<const TEgoNetNode*>& persons);
};
