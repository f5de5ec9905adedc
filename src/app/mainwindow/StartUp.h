#pragma once

#include <QString>

// Runs the desktop program: restores the settings files from their templates, creates the
// windows and runs the message loop; the exit code. argv may name one graph file to open.
int RunCirclewright(int argc, char** argv);

// Renames the template to the target when only the template exists, deletes the template when the
// target exists too; both names are relative to the settings folder. Whether the target exists
// afterwards.
bool RestoreFromTemplate(const QString& templateName, const QString& targetName);
