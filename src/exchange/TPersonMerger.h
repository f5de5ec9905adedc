#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

class TEgoNetModel;
class TEgoNetNode;
class TOrganizedNode;
struct TDisplayDefaults;

// What an import did, for the user.
struct TImportReport
{
    int Added = 0;
    int Merged = 0;
    int Skipped = 0;
    int LinksAdded = 0;
    int LinksExisting = 0;
    // Why persons were skipped, and what the files held that was left out.
    QStringList Reasons;

    // "12 persons added, 3 merged with persons already there, 1 skipped; 5 links added." and the
    // reasons below, one a line.
    QString Text() const;
};

// Brings imported persons and links into a network. A person who is already there (the same
// e-mail address, else the same first and last name) is completed rather than added twice: the
// fields it lacks are taken from the import, its own values stay. A person with neither name nor
// e-mail address is skipped.
class TPersonMerger
{
public:
    // New persons and links take the defaults' look (colour and size stay when the file gave them).
    TPersonMerger(TEgoNetModel& target, const TDisplayDefaults& defaults);

    // Takes the persons and links of imported (left as it was); carriesLooks: the file gave
    // positions, colours and sizes of its own.
    void Merge(const TEgoNetModel& imported, const QString& fileName, bool carriesLooks);
    // Once every file is merged: the attribute names are made the same for all persons and links.
    void Finish();

    const TImportReport& Report() const { return FReport; }

private:
    TEgoNetNode* Existing(const TEgoNetNode& person) const;
    void Index(TEgoNetNode* person);
    static QString NameKey(const TEgoNetNode& person);
    // Links join two persons either way round; the type matches without regard to case.
    static QString LinkKey(const TEgoNetNode* a, const TEgoNetNode* b, const QString& type);

    TEgoNetModel& FTarget;
    const TDisplayDefaults& FDefaults;
    QHash<QString, TEgoNetNode*> FByEMail;
    QHash<QString, TEgoNetNode*> FByName;
    // What the target holds, so that large imports do not search it for every object.
    QSet<QString> FNodeIDs;
    QSet<QString> FLinkIDs;
    QSet<QString> FLinks;
    TImportReport FReport;
};
