#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QIODevice;
class TEgoNetDisplaySettings;
class TEgoNetModel;

// The graph file: the magic "ENG10", then the header block (caption and description), the
// display-settings block and the model block, each written and read by its own writer or
// reader. The graph view keeps caption, description and settings; these functions work
// without it, so the command-line tool reads and writes files exactly as the program does.

// What the view keeps of a graph file besides the model.
struct TGraphHeader
{
    QString Caption;
    QString Description;
};

// The whole file in memory, settings as given.
QByteArray GraphFileBytes(const TGraphHeader& header, const TEgoNetDisplaySettings& settings, TEgoNetModel& model);

// Replaces the file as a whole or not at all; a failure raises EStreamError with the system's
// reason and leaves any old file untouched.
void WriteGraphFile(const QString& fileName, const TGraphHeader& header, const TEgoNetDisplaySettings& settings,
                    TEgoNetModel& model);

// False when the data are not a graph file (empty, or another magic); nothing has changed then.
// Errors inside the blocks raise EStreamError with their message, and what was read before
// the error stays in header, settings and model. settingsRead, when given, runs as soon as
// the settings block is in, before the model is read (the view applies the settings there).
bool ReadGraph(QIODevice& stream, TGraphHeader& header, TEgoNetDisplaySettings& settings, TEgoNetModel& model,
               const std::function<void()>& settingsRead = {});
// The same from a file; a file that cannot be opened raises EStreamError.
bool ReadGraphFile(const QString& fileName, TGraphHeader& header, TEgoNetDisplaySettings& settings,
                   TEgoNetModel& model, const std::function<void()>& settingsRead = {});
