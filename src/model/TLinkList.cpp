#include "model/TLinkList.h"

const QList<TEgoNetEdge*>& TLinkList::Items() const
{
    Settle();
    return FItems;
}

qsizetype TLinkList::indexOf(const TEgoNetEdge* link) const
{
    return contains(link) ? Items().indexOf(const_cast<TEgoNetEdge*>(link)) : -1;
}

void TLinkList::append(TEgoNetEdge* link)
{
    // Settled first: a new link may have the address of a dropped one.
    Settle();
    FItems.append(link);
    ++FCount[link];
}

void TLinkList::reserve(qsizetype size)
{
    FItems.reserve(size);
    FCount.reserve(size);
}

void TLinkList::clear()
{
    FItems.clear();
    FDropped.clear();
    FCount.clear();
}

void TLinkList::Drop(const TEgoNetEdge* link)
{
    if (FCount.remove(link))
        FDropped.insert(link);
}

void TLinkList::Settle() const
{
    if (FDropped.isEmpty())
        return;
    FItems.removeIf([this](const TEgoNetEdge* link) { return FDropped.contains(link); });
    FDropped.clear();
}
