#pragma once

#include <QString>
#include <QStringList>

// The free attributes of one person or link: entries "name=value" in insertion order.
// Names match without regard to letter case; the first entry of a name is the one meant.
// "na" is the missing value; "n/a" and the empty text count as missing too.
class TAttributes : public QStringList
{
public:
    using QStringList::QStringList;

    void AddAttribute(const QString& name, const QString& value);
    void DeleteAttribute(const QString& name);
    int IndexOfName(const QString& name) const;
    bool HasAttribute(const QString& name) const { return IndexOfName(name) >= 0; }
    bool HasValue(const QString& name) const;
    QString NameAt(int index) const;
    // value := "na"; true when the name is found, value then being its value ("na" if missing).
    bool GetValue(const QString& name, QString& value) const;
    // Only an existing name is changed; an empty value is stored as "na".
    void SetValue(const QString& name, const QString& value);
    // The renamed entry moves to the end of the list.
    void RenameAt(int index, const QString& newName);
    void RenameAttribute(const QString& oldName, const QString& newName);
    void GetNames(QStringList& names) const;
    void AddNames(const QStringList& names);

    // What a change of the name list to names would mean here: entries to delete and names to
    // add, both sorted, less those covered by renames ("old=new" entries).
    void DiffNames(const QStringList& names, QStringList& toDelete, const QStringList* renames,
                   QStringList& toAdd) const;
    // Brings the entry names in line with names, then sorts the entries byte-wise.
    void SyncNames(const QStringList& names, bool deleteOthers, const QStringList* renames);
};

// The name part of an entry: the text before its first "=", empty without one.
QString EntryName(const QString& entry);

// The value of entry index of any string list; "na" outside the list.
QString ValueAt(const QStringList& list, int index);

bool IsMissingValue(const QString& text);

QString JoinStrings(const QStringList& list, const QString& separator, bool includeEmpty);

// True when every entry is a number or missing; missing entries met on the way become "na".
bool AllNumericOrMissing(QStringList& list);

// Orders numbers by value (through padded keys) and words as text among them.
void SortValuesNumerically(QStringList& list);

// The cleaning every value list gets before it is shown: numeric lists sorted and freed of
// duplicates, missing values gathered into one "na" at the end.
void SortAndCleanValues(QStringList& list);

// A number in the user's locale, blanks around it allowed.
bool TextToFloat(const QString& text, double& value);
