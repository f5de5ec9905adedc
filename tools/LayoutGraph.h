#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

// What layout was asked to do.
struct TLayoutOptions
{
    QString Input;
    QString Output;
    QSize Size{800, 600};
    // The person to centre, by identifier or caption; none for the spring layout.
    QString Ego;
    std::optional<quint32> Seed;
};

// IN.eng OUT.eng [--size WxH] [--ego ID_OR_CAPTION] [--seed N]; raises EToolError otherwise.
TLayoutOptions ParseLayoutOptions(const QStringList& arguments);

// Loads the graph file into a view of the given size as opening a file does, runs one
// non-animated layout run through the program's own pacing (the spring layout, or the layout
// around the ego as the program starts it), straightens the links as the end of a run does and
// writes OUT with the program's writer. Dense graphs are laid out without asking. Returns the
// number of steps taken; raises EToolError or EStreamError; needs a QApplication.
int LayoutGraphFile(const TLayoutOptions& options);
