#include "exchange/NetworkTable.h"

#include "model/TEgoNetModel.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace {

QStringList UniqueIDs(const QStringList& ids)
{
    QSet<QString> used;
    QStringList out;
    out.reserve(ids.size());
    for (const QString& id : ids) {
        QString unique = id.isEmpty() ? QStringLiteral("n") : id;
        for (int n = 2; used.contains(unique); ++n)
            unique = id + '_' + QString::number(n);
        used.insert(unique);
        out.append(unique);
    }
    return out;
}

} // namespace

TNetworkTable::TNetworkTable(const TEgoNetModel& model)
{
    QStringList personIDs;
    for (const TEgoNetNode* person : model.Nodes()) {
        Persons.append(person);
        personIDs.append(person->ID);
    }
    PersonIDs = UniqueIDs(personIDs);
    QStringList linkIDs;
    int directed = 0;
    for (const TEgoNetEdge* link : model.Links()) {
        if (!link->Source || !link->Target)
            continue;
        Links.append(link);
        linkIDs.append(link->ID.isEmpty() ? QStringLiteral("e%1").arg(Links.size()) : link->ID);
        directed += link->Directed ? 1 : 0;
    }
    LinkIDs = UniqueIDs(linkIDs);
    Directed = directed == Links.size();
    MixedDirections = directed > 0 && directed < Links.size();
    model.NodeAttrNames(PersonAttributes);
    model.LinkAttrNames(LinkAttributes);
    for (int i = 0; i < Persons.size(); ++i)
        FIndex.insert(Persons[i], i);
}

QString TNetworkTable::PersonID(const TEgoNetNode* person) const
{
    const int i = FIndex.value(person, -1);
    return i >= 0 ? PersonIDs[i] : QString();
}

QString TNetworkTable::HexColour(uint32_t colour)
{
    return QStringLiteral("#%1%2%3")
        .arg(Red(colour), 2, 16, QChar('0'))
        .arg(Green(colour), 2, 16, QChar('0'))
        .arg(Blue(colour), 2, 16, QChar('0'))
        .toUpper();
}

QString TNetworkTable::Value(const TEgoNetObject& object, const QString& name)
{
    QString value;
    return object.Attributes.GetValue(name, value) && !IsMissingValue(value) ? value : QString();
}

QString TNetworkTable::XmlSafe(const QString& text)
{
    // Nearly every text is clean already and is shared rather than copied.
    const auto clean = [](QChar c) {
        return (c.unicode() >= 0x20 && c.unicode() < 0xD800) || c == '\t' || c == '\n' || c == '\r';
    };
    if (std::all_of(text.cbegin(), text.cend(), clean))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out += c;
            out += text[++i];
        } else if ((c.unicode() >= 0x20 && !c.isSurrogate() && c.unicode() < 0xFFFE) || c == '\t' || c == '\n' ||
                   c == '\r') {
            out += c;
        }
    }
    return out;
}
