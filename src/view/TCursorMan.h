#pragma once

#include <QCursor>

#include <memory>
#include <optional>

// The screen cursor is the application's override cursor; no override is the default arrow.
// Only one override is ever kept, so setting the screen cursor replaces it instead of stacking.

// Shows a cursor while a command runs and puts the previous one back when the guard goes,
// however the command ends.
class TCursorMan
{
public:
    // Saves the screen cursor (the default one when the hourglass shows, so that a nested guard
    // never restores an hourglass that nobody clears) and shows cursor. When that changes the
    // screen cursor, pending events are handled once so that the new cursor shows at once.
    explicit TCursorMan(Qt::CursorShape cursor);
    ~TCursorMan();

    TCursorMan(const TCursorMan&) = delete;
    TCursorMan& operator=(const TCursorMan&) = delete;

private:
    std::optional<QCursor> FSavedCursor; // none: the default cursor
};

// A guard showing the hourglass, to be held until the command ends.
std::shared_ptr<TCursorMan> BusyCursor();

// The screen cursor is the hourglass.
bool IsBusy();
