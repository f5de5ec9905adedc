#include "model/TLinkList.h"

#include "model/TEgoNetEdge.h"

TLinkList& TLinkList::operator=(const TLinkList& other)
{
    if (&other == this)
        return *this;
    clear();
    for (TEgoNetEdge* link : other.Items())
        append(link);
    return *this;
}

const QList<TEgoNetEdge*>& TLinkList::Items() const
{
    Settle();
    return FItems;
}

bool TLinkList::contains(const TEgoNetEdge* link) const
{
    return link && link->FListed[FSlot] > 0;
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
    ++link->FListed[FSlot];
}

void TLinkList::clear()
{
    for (TEgoNetEdge* link : Items())
        link->FListed[FSlot] = 0;
    FItems.clear();
}

void TLinkList::Drop(TEgoNetEdge* link)
{
    if (contains(link)) {
        link->FListed[FSlot] = 0;
        FDropped.insert(link);
    }
}

void TLinkList::Settle() const
{
    if (FDropped.isEmpty())
        return;
    FItems.removeIf([this](const TEgoNetEdge* link) { return FDropped.contains(link); });
    FDropped.clear();
}
