#pragma once

// Makes the program's default label font "Tahoma" available where the system has the file but
// does not list it (Debian's metric-compatible Tahoma sits in Wine's font folder, which
// fontconfig does not search). Without the file, labels fall back to the system's sans font.
// Call once after the application object exists.
void LoadFontFiles();
