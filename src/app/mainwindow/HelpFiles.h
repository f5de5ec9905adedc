#pragma once

#include <QString>

// The manual's file name, as the program reports it when it finds no manual.
inline const QString HelpFileName = QStringLiteral("Circlewright User Manual.pdf");

// The manual: in the program's folder, then in its "Help" and "Circlewright Help" folders, the
// first PDF (then DOC) file whose name holds "Circlewright User Manual", else one whose name holds
// "User Manual"; failing that "Readme.rtf" in the program's folder when it is there. Empty when
// there is none. programDir ends in a separator.
QString FindHelp(const QString& programDir);

// The first PDF, else DOC, file in dir whose name holds key, in any case; empty when none does.
QString FindHelpFile(const QString& dir, const QString& key);
