#pragma once

#include <QByteArray>
#include <QString>

class TEgoNetModel;

// The network as three tables for ego-network analysis, named as R's egor and Gephi's spreadsheet
// import expect them: persons (Id, Label, …), links (Source, Target, Type, Id, Label, Weight, …)
// and the graph itself as the ego (egoID, Label, …). Each person and link row names its ego
// in "egoID", so the tables join without a mapping.
class TCsvTableWriter
{
public:
    struct TTables
    {
        QByteArray Persons;
        QByteArray Links;
        QByteArray Ego;
    };

    // egoName: the graph's caption, the ego's ID and label.
    static TTables Write(const TEgoNetModel& model, const QString& egoName);
    // "OUT.csv" gives "OUT-persons.csv", "OUT-links.csv" and "OUT-ego.csv".
    static QString TableFileName(const QString& fileName, const char* table);
};
