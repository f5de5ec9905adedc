#pragma once

#include "model/TDisplayDefaults.h"
#include "settings/TDisplayOptions.h"

#include <QImage>
#include <QString>

#include <cstdint>

class IDisplaySettingsView;
class QIODevice;

// Every display option of a graph: in its bases the view's options and the defaults for nodes
// and links. It comes from the built-in defaults, from the display-defaults INI file or
// from the settings block of a graph file, and describes the graph of its view before a save.
class TEgoNetDisplaySettings : public TDisplayDefaults, public TDisplayOptions
{
public:
    // The view may be null; the record then cannot capture anything.
    explicit TEgoNetDisplaySettings(IDisplaySettingsView* view = nullptr);

    IDisplaySettingsView* View() const { return FView; }

    // Where the values came from: "Default", an INI file's style, or what the owner sets.
    QString StyleName;
    QImage BkImage;
    // The reserved values mean nothing; they travel through the block unchanged.
    bool Reserved1;
    bool Reserved2;
    int32_t Reserved3 = 0;
    // Kept and persisted, never applied to links.
    float eWeight;

    // The built-in defaults of every field but Reserved3, which keeps what a file gave it.
    void SetDefaults();
    // Copies the view's options and node colours; false, changing nothing, without a view.
    bool CaptureFromView();
    // The record that describes the view's graph as it is: the defaults, the view's properties,
    // and every node or link property that all nodes (all shown links) share.
    void DeriveFromGraph();
    // Reads the display-defaults INI file; false, changing nothing, when the name is empty or
    // names no file. Unreadable values take their defaults, unreadable fonts a fallback font.
    bool LoadFromIni(const QString& fileName);

    // The settings block of a graph file at the device's position. Reading raises EStreamError
    // "Display settings data read error" on any failure; the fields read before it keep their
    // new values.
    void WriteToStream(QIODevice& stream) const;
    void ReadFromStream(QIODevice& stream);

private:
    IDisplaySettingsView* FView;
};
