#pragma once

#include <QString>

// Where the program keeps its settings files: its own directory when that is writable (the build
// tree, a portable folder), otherwise the user's configuration directory, where a missing file is
// first copied from its template beside the program ("Circlewright.ini" from "Circlewright.in_").
// Every window asks here instead of building paths itself.
QString SettingsFilePath(const QString& fileName);

// The program's folder with a trailing separator: its manual and shipped files live there.
QString ProgramDirectory();

// The same rule for a given program directory and user directory.
QString SettingsFilePathIn(const QString& programDirectory, const QString& userDirectory, const QString& fileName);

// Points every window at another folder for the settings files (a test's own folder); an empty
// text returns to the rule above.
void SetSettingsDirectory(const QString& directory);

// The folder of the recovery copies of unsaved graphs: the user's data folder, or a folder inside
// the settings folder set for tests.
QString RecoveryFolder();

// "Circlewright.ini", the lists the pages offer.
QString ProgramIniPath();

// A file for passing data to other programs, in the temporary folder.
QString TemporaryFilePath(const QString& fileName);
