#pragma once

#include <QHash>
#include <QList>
#include <QSet>

class TEgoNetEdge;

// The model's list of links in its order, which answers at once whether it holds a link and
// drops links in bulk: a dropped link leaves the membership at once and the list itself the
// next time the list is used, so that dropping many links costs one pass over the list. A
// link may be listed more than once (a filter naming a type twice); dropping takes every copy.
class TLinkList
{
public:
    using const_iterator = QList<TEgoNetEdge*>::const_iterator;

    // The links, dropped ones gone.
    const QList<TEgoNetEdge*>& Items() const;
    operator const QList<TEgoNetEdge*>&() const { return Items(); }

    qsizetype size() const { return Items().size(); }
    bool isEmpty() const { return FCount.isEmpty(); }
    TEgoNetEdge* operator[](qsizetype i) const { return Items()[i]; }
    const_iterator begin() const { return Items().cbegin(); }
    const_iterator end() const { return Items().cend(); }
    const_iterator cbegin() const { return begin(); }
    const_iterator cend() const { return end(); }
    bool contains(const TEgoNetEdge* link) const { return FCount.contains(link); }
    qsizetype indexOf(const TEgoNetEdge* link) const;

    void append(TEgoNetEdge* link);
    void reserve(qsizetype size);
    void clear();
    void Drop(const TEgoNetEdge* link);

private:
    void Settle() const;

    mutable QList<TEgoNetEdge*> FItems;
    mutable QSet<const TEgoNetEdge*> FDropped;
    // How often each held link is listed.
    QHash<const TEgoNetEdge*, int> FCount;
};
