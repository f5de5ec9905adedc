#pragma once

#include "foundation/UserDialogs.h"

#include <QString>
#include <QStringList>

// A message box whose buttons carry the given captions: the 1-based position of the chosen one,
// IUserDialogs::Closed when the box is closed without a choice.
int AskWithCaptions(const QString& message, TMessageKind kind, const QStringList& captions);

// Opens a file with the desktop's default program for it; false when none could be started.
bool OpenWithDefaultViewer(const QString& fileName);
