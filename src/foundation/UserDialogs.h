#pragma once

#include <QString>
#include <QStringList>

// Every question and message box of the program goes through this interface: the desktop
// program answers with real dialogs, tests with scripted answers, the command-line tool
// without a screen. Lower layers (layouts asking before a long run, readers reporting errors)
// reach the user only through it.

enum class TMessageKind { Information, Confirmation, Warning, Error };

class IUserDialogs
{
public:
    // What Ask returns when the box is closed without a choice (Esc or its close box).
    static constexpr int Closed = 10;
    // The most captions a box can carry; more give 0 and show nothing.
    static constexpr int MaxCaptions = 10;

    virtual ~IUserDialogs() = default;

    // A message box of the given kind with one button per caption; the 1-based position of
    // the chosen caption, Closed when the box was closed, 0 for more than MaxCaptions captions.
    virtual int Ask(const QString& message, TMessageKind kind, const QStringList& captions) = 0;

    // A message box of the given kind with a single OK button.
    virtual void Show(const QString& message, TMessageKind kind) = 0;
};

// The dialogs in force. Until a program installs its own, the answer to every question is
// Closed and messages go to standard error, so nothing headless ever waits for a click.
IUserDialogs& UserDialogs();

// Installs dialogs (not owned); nullptr returns to the headless default. Returns the previous.
IUserDialogs* SetUserDialogs(IUserDialogs* dialogs);
