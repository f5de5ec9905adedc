#include "model/TEgoNetEdge.h"
#include "model/TLinkList.h"

#include <gtest/gtest.h>

TEST(TLinkList, DroppingTakesEveryCopyAndKeepsTheOrderOfTheRest)
{
    TEgoNetEdge a, b, c;
    TLinkList list;
    for (TEgoNetEdge* link : {&a, &b, &c, &b})
        list.append(link);
    EXPECT_EQ(list.indexOf(&c), 2);
    list.Drop(&b);
    EXPECT_FALSE(list.contains(&b));
    EXPECT_TRUE(list.contains(&a));
    EXPECT_EQ(list.Items(), QList<TEgoNetEdge*>({&a, &c}));
    EXPECT_EQ(list.indexOf(&b), -1);

    // A link appended again after its drop (a new link may reuse the address) stays.
    list.Drop(&a);
    list.append(&a);
    EXPECT_EQ(list.Items(), QList<TEgoNetEdge*>({&c, &a}));
    EXPECT_EQ(list.size(), 2);
    list.Drop(&c);
    list.Drop(&a);
    EXPECT_TRUE(list.isEmpty());
    EXPECT_EQ(list.begin(), list.end());
}

// Callers ask about links they may have deleted already (whether a link still exists, a link
// listed twice deleted twice): membership compares addresses and never touches the link.
TEST(TLinkList, MembershipOfAFreedLinkIsAnsweredByAddress)
{
    auto* link = new TEgoNetEdge();
    TLinkList list;
    list.append(link);
    list.append(link);
    list.Drop(link);
    delete link;
    EXPECT_FALSE(list.contains(link));
    EXPECT_EQ(list.indexOf(link), -1);
    list.Drop(link);
    EXPECT_TRUE(list.isEmpty());
}
