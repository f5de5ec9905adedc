#pragma once

#include <QPoint>

class TEgoNetGraphEx;
class TListGrid;

// "Filter" and "Show All" of a person list. Both refill the list, sorted by name, and check again
// the persons that were checked before and are still listed. The form that edits them is left as
// it is.

// Lists only the persons the attribute filter returns; false, and the list untouched, when the
// user cancels. The filter window opens at the screen point.
bool FilterPersonList(TListGrid& grid, TEgoNetGraphEx& host, QPoint globalPos);
// Lists every person again.
void ShowAllPersons(TListGrid& grid, TEgoNetGraphEx& host);
