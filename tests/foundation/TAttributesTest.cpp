#include "foundation/TAttributes.h"

#include <gtest/gtest.h>

TEST(TAttributes, LookupsIgnoreCaseAndUseTheFirstEntry)
{
    TAttributes a{"School=Oak", "sport=N/A", "school=Elm", "novalue"};
    EXPECT_EQ(a.IndexOfName("SCHOOL"), 0);
    EXPECT_EQ(a.IndexOfName(""), -1); // the entry without "=" is never addressed
    QString value;
    EXPECT_TRUE(a.GetValue("school", value));
    EXPECT_EQ(value, "Oak");
    EXPECT_TRUE(a.GetValue("Sport", value));
    EXPECT_EQ(value, "na");
    EXPECT_FALSE(a.HasValue("sport"));
    EXPECT_FALSE(a.GetValue("food", value));
    EXPECT_EQ(value, "na");
    EXPECT_EQ(a.NameAt(3), "");
    EXPECT_EQ(a.NameAt(9), "");
    EXPECT_EQ(ValueAt(a, 3), "");
    EXPECT_EQ(ValueAt(a, -1), "na");
}

TEST(TAttributes, SetValueChangesOnlyExistingNames)
{
    TAttributes a{"Food=Rice"};
    a.SetValue("FOOD", "");
    EXPECT_EQ(a, QStringList({"Food=na"}));
    a.SetValue("food", "a=b");
    EXPECT_EQ(a, QStringList({"Food=a=b"}));
    QString value;
    a.GetValue("food", value);
    EXPECT_EQ(value, "a=b"); // the value is everything after the first "="
    a.SetValue("drink", "tea");
    EXPECT_EQ(a.size(), 1);
}

TEST(TAttributes, AddDeleteAndRename)
{
    TAttributes a;
    a.AddAttribute("", "x");
    EXPECT_TRUE(a.isEmpty());
    a.AddAttribute("a", "1");
    a.AddAttribute("b", "2");
    a.AddAttribute("A", "3");
    a.DeleteAttribute("a");
    EXPECT_EQ(a, QStringList({"b=2"}));

    TAttributes r{"x=1", "y=2", "z=3"};
    r.RenameAttribute("X", "w");
    EXPECT_EQ(r, QStringList({"y=2", "z=3", "w=1"}));
    r.RenameAttribute("y", "");
    r.RenameAt(5, "q");
    r.RenameAttribute("missing", "q");
    EXPECT_EQ(r, QStringList({"y=2", "z=3", "w=1"}));

    QStringList names{"old"};
    TAttributes{"p=1", "noname", "q=2"}.GetNames(names);
    EXPECT_EQ(names, QStringList({"p", "q"}));
    TAttributes n;
    n.AddNames({"u", "v"});
    EXPECT_EQ(n, QStringList({"u=na", "v=na"}));
}

TEST(TAttributes, DiffNamesSortsAndHonoursRenames)
{
    const TAttributes a{"zeta=1", "Alpha=2", "keep=3"};
    QStringList toDelete{"junk"}, toAdd{"junk"};
    a.DiffNames({"KEEP", "new2", "beta", "new1"}, toDelete, nullptr, toAdd);
    EXPECT_EQ(toDelete, QStringList({"Alpha", "zeta"}));
    EXPECT_EQ(toAdd, QStringList({"beta", "new1", "new2"}));

    const QStringList renames{"ALPHA=Beta"};
    a.DiffNames({"KEEP", "new2", "beta", "new1"}, toDelete, &renames, toAdd);
    EXPECT_EQ(toDelete, QStringList({"zeta"}));
    EXPECT_EQ(toAdd, QStringList({"new1", "new2"}));
}

TEST(TAttributes, SyncNamesRenamesDeletesAddsAndSortsByBytes)
{
    TAttributes a{"b=1", "gone=2", "Old=3", "junk"};
    const QStringList renames{"old=new"};
    a.SyncNames({"b", "new", "a", "Z"}, true, &renames);
    // Byte order puts upper case first.
    EXPECT_EQ(a, QStringList({"Z=na", "a=na", "b=1", "new=3"}));

    TAttributes keep{"x=1"};
    keep.SyncNames({"y"}, false, nullptr);
    EXPECT_EQ(keep, QStringList({"x=1", "y=na"}));

    TAttributes empty;
    empty.SyncNames({}, true, nullptr);
    EXPECT_TRUE(empty.isEmpty());
}

TEST(TAttributes, SyncNamesSortsHighCharactersAfterAscii)
{
    TAttributes a{QString::fromUtf8("\xc3\xa9t\xc3\xa9=1"), "zoo=2", QString::fromUtf8("\xe2\x82\xac=3")};
    a.SyncNames({}, false, nullptr);
    // z (0x7A) < euro (0x80 in the code page) < e acute (0xE9)
    EXPECT_EQ(a.at(0), "zoo=2");
    EXPECT_EQ(a.at(1), QString::fromUtf8("\xe2\x82\xac=3"));
}

TEST(ValueLists, MissingValues)
{
    for (const char* missing : {"", "na", "NA", "nA", "n/a", "N/A", "n/A"})
        EXPECT_TRUE(IsMissingValue(missing)) << missing;
    for (const char* present : {"n", "nan", " na", "n/a/", "0"})
        EXPECT_FALSE(IsMissingValue(present)) << present;
}

TEST(ValueLists, JoinStrings)
{
    EXPECT_EQ(JoinStrings({"a", "", "b"}, ";", false), "a;b");
    EXPECT_EQ(JoinStrings({"a", "", "b"}, ";", true), "a;;b");
    EXPECT_EQ(JoinStrings({"a", ""}, ";", false), "a;");
    EXPECT_EQ(JoinStrings({}, ";", true), "");
}

TEST(ValueLists, NumbersAreRecognisedWithBlanksAndExponents)
{
    double v = 0;
    EXPECT_TRUE(TextToFloat(" 2.5 ", v));
    EXPECT_EQ(v, 2.5);
    EXPECT_TRUE(TextToFloat("-1e3", v));
    EXPECT_EQ(v, -1000);
    EXPECT_TRUE(TextToFloat(".5", v));
    for (const char* word : {"", "abc", "1,000", "1e", "nan", "inf", "1e999", "--1", "0x10"})
        EXPECT_FALSE(TextToFloat(word, v)) << word;
}

TEST(ValueLists, AllNumericOrMissingStopsAtTheFirstWord)
{
    QStringList numeric{"3", "N/A", "2.5"};
    EXPECT_TRUE(AllNumericOrMissing(numeric));
    EXPECT_EQ(numeric, QStringList({"3", "na", "2.5"}));

    QStringList mixed{"", "x", "N/A"};
    EXPECT_FALSE(AllNumericOrMissing(mixed));
    EXPECT_EQ(mixed, QStringList({"na", "x", "N/A"}));
}

TEST(ValueLists, SortValuesNumericallyPadsTheKeys)
{
    QStringList list{"100", "99", "5.5", "b", "A"};
    SortValuesNumerically(list);
    EXPECT_EQ(list, QStringList({"5.5", "99", "100", "A", "b"}));

    QStringList ties{"9", "9.0", "09"};
    SortValuesNumerically(ties);
    EXPECT_EQ(ties, QStringList({"09", "9.0", "9"}));
}

TEST(ValueLists, SortAndCleanValuesNumeric)
{
    QStringList list{"10", "9", "na", "9.0", "2"};
    SortAndCleanValues(list);
    EXPECT_EQ(list, QStringList({"2", "9.0", "10", "na"}));

    QStringList missingOnly{"N/A", "", "na"};
    SortAndCleanValues(missingOnly);
    EXPECT_EQ(missingOnly, QStringList({"na"}));

    QStringList nearlyEqual{"0.1", "0.100000001"};
    SortAndCleanValues(nearlyEqual); // equal as 32-bit floats
    EXPECT_EQ(nearlyEqual.size(), 1);
}

TEST(ValueLists, SortAndCleanValuesKeepsWordOrder)
{
    QStringList list{"Rome", "n/a", "Paris"};
    SortAndCleanValues(list);
    EXPECT_EQ(list, QStringList({"Rome", "Paris", "na"}));

    QStringList several{"N/A", "Rome", "", "Oslo", "N/A"};
    SortAndCleanValues(several);
    EXPECT_EQ(several, QStringList({"Rome", "Oslo", "na"}));

    QStringList one{"N/A"};
    SortAndCleanValues(one);
    EXPECT_EQ(one, QStringList({"N/A"}));
}
