#pragma once

#include "foundation/UserDialogs.h"

#include <QString>
#include <QStringList>

// A message box whose buttons carry the given captions: the 1-based position of the chosen one,
// IUserDialogs::Closed when the box is closed without a choice.
int AskWithCaptions(const QString& message, TMessageKind kind, const QStringList& captions);

// Opens a file with the desktop's default program for it. False for an empty name, and when no
// program could be started, which the user is told.
bool OpenWithDefaultViewer(const QString& fileName);

// The four numbers of a file's version joined by dots, or "Unknown". Linux executables carry no
// version, so only the program's own file has one: the version it was built as.
QString FileVersionText(const QString& fileName);
