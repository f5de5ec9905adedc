#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class TEgoNetGraphEx;
class TEgoNetObject;
class TListGrid;

// Filling, reading and editing the list grids of the pages. Rows are counted as TListGrid counts
// them; checkCol and textCol are column numbers, keepHeader says whether the grid keeps row 0 as
// its header row.

// Cuts the grid to its header row (keepHeader) or to no row at all.
void PrepareGrid(TListGrid& grid, bool keepHeader);
// One unchecked row per person of the host's graph, in model order, the person in column 1.
void FillWithPersons(TListGrid& grid, TEgoNetGraphEx& host, bool keepHeader);
// The same for the given persons or links; the grid looks them up in model from then on.
void FillWithObjects(TListGrid& grid, const QList<TEgoNetObject*>& objects, const class TEgoNetModel* model,
                     bool keepHeader);
// Plain strings; radio puts a radio button instead of a check box in column 0.
void FillWithTexts(TListGrid& grid, const QStringList& texts, bool keepHeader, bool radio);
// One row per key of the section. False, and the grid untouched, when the file does not exist or
// no section is named.
bool FillFromIniSection(TListGrid& grid, const QString& iniFile, const QString& section, bool keepHeader);
// Replaces the section by the non-empty texts of textCol as keys; an empty grid leaves an empty
// section, so that deleted entries do not come back. False when no section is named or the file
// cannot be written.
bool SaveToIniSection(const TListGrid& grid, const QString& iniFile, const QString& section, int textCol,
                      bool hasHeader);

void ClearSelection(TListGrid& grid);
void SetAllChecks(TListGrid& grid, bool checked, int checkCol);
void SetCheck(TListGrid& grid, bool checked, int row, int checkCol);
void ToggleCheck(TListGrid& grid, int row, int checkCol);
bool IsChecked(const TListGrid& grid, int row, int checkCol);
int CountChecked(const TListGrid& grid, int checkCol);
// The objects of column 1 in the checked rows, top to bottom; rows whose object is gone are
// left out.
void GetCheckedObjects(const TListGrid& grid, int checkCol, QList<TEgoNetObject*>& list);
// Checks exactly the rows of the given objects (found by ID in column 1) and scrolls to them.
void CheckObjects(TListGrid& grid, int checkCol, const QList<TEgoNetObject*>& objects);
void GetCheckedTexts(const TListGrid& grid, QStringList& list, int checkCol, int textCol);
// The checked texts joined by "," without blanks.
QString JoinCheckedTexts(const TListGrid& grid, int checkCol, int textCol);
// The first data row whose object in objCol has exactly this ID, or -1.
int FindRowByID(const TListGrid& grid, const QString& id, int objCol);
// The first data row whose textCol cell equals text ignoring case, or -1.
int FindRowByText(const TListGrid& grid, const QString& text, int textCol);

// Asks "Delete ... from the list?" for the checked rows (naming the one row, or counting them)
// and removes them unless the user says no; true when rows were removed.
bool DeleteCheckedRows(TListGrid& grid, int checkCol, int textCol);

// Adds an empty row at the end and opens its textCol cell for editing; only one such row can be
// pending in the whole program.
void AppendEditRow(TListGrid& grid, int checkCol, int textCol);
// Ends the pending row: false when there is none or it was left empty (it is then removed).
bool FinishEditRow(TListGrid& grid, int textCol);
