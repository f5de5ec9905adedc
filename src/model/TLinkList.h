#pragma once

#include <QList>
#include <QSet>

class TEgoNetEdge;

// One of the model's lists of links in its order, which answers at once whether it holds a
// link (each link counts how often each list holds it) and drops links in bulk: a dropped link
// leaves the membership at once and the list itself the next time the list is used, so that
// dropping many links costs one pass over the list. A link may be listed more than once (a
// filter naming a type twice); dropping takes every copy. Links must be alive while listed.
class TLinkList
{
public:
    // Which count of the links this list keeps; each list of one model has its own.
    explicit TLinkList(int slot) : FSlot(slot) {}
    TLinkList(const TLinkList&) = delete;
    // Takes the other's links, keeping its own slot.
    TLinkList& operator=(const TLinkList& other);

    using const_iterator = QList<TEgoNetEdge*>::const_iterator;

    // The links, dropped ones gone.
    const QList<TEgoNetEdge*>& Items() const;
    operator const QList<TEgoNetEdge*>&() const { return Items(); }

    qsizetype size() const { return Items().size(); }
    bool isEmpty() const { return Items().isEmpty(); }
    TEgoNetEdge* operator[](qsizetype i) const { return Items()[i]; }
    const_iterator begin() const { return Items().cbegin(); }
    const_iterator end() const { return Items().cend(); }
    const_iterator cbegin() const { return begin(); }
    const_iterator cend() const { return end(); }
    bool contains(const TEgoNetEdge* link) const;
    qsizetype indexOf(const TEgoNetEdge* link) const;

    void append(TEgoNetEdge* link);
    void reserve(qsizetype size) { FItems.reserve(size); }
    void clear();
    void Drop(TEgoNetEdge* link);

private:
    void Settle() const;

    const int FSlot;
    mutable QList<TEgoNetEdge*> FItems;
    // Links dropped but still in FItems; they may be freed already, so only their addresses
    // are compared.
    mutable QSet<const TEgoNetEdge*> FDropped;
};
