#include "settings/TEgoNetDisplaySettings.h"

#include "foundation/StreamError.h"
#include "foundation/ValueReader.h"
#include "foundation/ValueWriter.h"
#include "model/RecordVisitors.h"
#include "model/TEgoNetModel.h"
#include "settings/IDisplaySettingsView.h"
#include "settings/SettingsFields.h"
#include "settings/TIniFile.h"

#include <QFileInfo>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <optional>

namespace {

const QString kGeneral = QStringLiteral("EgoNet Display General Settings");
const QString kNode = QStringLiteral("Node Settings");
const QString kLink = QStringLiteral("Edge Settings");

bool IsHexDigit(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F');
}

// Decimal, or hexadecimal after "0x", "0X" or "$" (up to 32 bits, taken as they are).
std::optional<int32_t> ParseIniInteger(const QString& text)
{
    QStringView hex;
    if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        hex = QStringView(text).mid(2);
    else if (text.startsWith(QLatin1Char('$')))
        hex = QStringView(text).mid(1);
    bool ok = false;
    if (hex.isNull()) {
        const int32_t value = text.toInt(&ok, 10);
        return ok ? std::optional<int32_t>(value) : std::nullopt;
    }
    // toUInt alone would also accept blanks, a sign or a second "0x".
    if (!std::all_of(hex.begin(), hex.end(), IsHexDigit))
        return std::nullopt;
    const uint32_t value = hex.toUInt(&ok, 16);
    return ok ? std::optional<int32_t>(int32_t(value)) : std::nullopt;
}

int32_t IniInteger(const TIniFile& ini, const QString& section, const QString& key, int32_t defaultValue)
{
    return ParseIniInteger(ini.ReadString(section, key, QString())).value_or(defaultValue);
}

uint32_t IniColor(const TIniFile& ini, const QString& section, const QString& key, uint32_t defaultValue)
{
    return uint32_t(IniInteger(ini, section, key, int32_t(defaultValue)));
}

uint8_t IniCode(const TIniFile& ini, const QString& section, const QString& key, uint8_t defaultValue)
{
    return uint8_t(IniInteger(ini, section, key, defaultValue));
}

bool IniBool(const TIniFile& ini, const QString& section, const QString& key, bool defaultValue)
{
    return IniInteger(ini, section, key, defaultValue ? 1 : 0) != 0;
}

// "name,size,colour,style words", as in Tahoma,8,0,fsBold fsItalic. A value whose size or
// colour does not parse, a missing one included, gives the fallback.
TFontData IniFont(const TIniFile& ini, const QString& section, const QString& key, const TFontData& fallback)
{
    QString rest = ini.ReadString(section, key, QString());
    // The last field has no comma after it: it is taken but stays in rest.
    const auto token = [&rest] {
        rest = rest.trimmed();
        const qsizetype comma = rest.indexOf(QLatin1Char(','));
        if (comma < 0)
            return rest;
        const QString field = rest.left(comma).trimmed();
        rest.remove(0, comma + 1);
        return field;
    };
    TFontData font;
    font.Name = token();
    const std::optional<int32_t> size = ParseIniInteger(token());
    const std::optional<int32_t> color = ParseIniInteger(token());
    if (!size || !color)
        return fallback;
    font.Size = *size;
    font.Color = uint32_t(*color);
    font.Style = FontStyleFromWords(rest);
    return font;
}

// What every object after the first shares with the first, the record holding the first
// object's values. With one object, everything.
template <typename Object>
auto SharedWithFirst(const QList<Object*>& objects, const TDisplayDefaults& first)
{
    decltype(objects.front()->Agreement(first)) shared;
    for (qsizetype k = 1; k < objects.size(); ++k)
        shared &= objects[k]->Agreement(first);
    return shared;
}

} // namespace

TEgoNetDisplaySettings::TEgoNetDisplaySettings(IDisplaySettingsView* view) : FView(view)
{
    SetDefaults();
}

void TEgoNetDisplaySettings::SetDefaults()
{
    static_cast<TDisplayDefaults&>(*this) = TDisplayDefaults();
    StyleName = QStringLiteral("Default");
    BkColor = 0xFFFFFF;
    BkImage = QImage();
    ClusterColor = 0xFF999A;
    PositionColor = 0x009900;
    ShowBkImage = true;
    ShowShape = true;
    ShowImage = false;
    ShowLabel = true;
    ShowDisabledNodes = true;
    ShowToolTips = true;
    ShowBorders = true;
    ShowEdges = true;
    ShowDirections = true;
    ShowEdgeLabel = false;
    ShowStress = false;
    Reserved1 = false;
    Reserved2 = false;
    ShowEdgeType = false;
    AutoOrganize = false;
    Animation = true;
    SoundEffects = false;
    nSelectionColor = 0x0000BF;
    eWeight = 1.0f;
}

bool TEgoNetDisplaySettings::CaptureFromView()
{
    if (!FView)
        return false;
    static_cast<TDisplayOptions&>(*this) = FView->DisplayOptions();
    nAltColor = FView->AltColor();
    nGrpColor = FView->GrpColor();
    return true;
}

void TEgoNetDisplaySettings::DeriveFromGraph()
{
    SetDefaults();
    if (!CaptureFromView())
        return;
    const TEgoNetModel& model = FView->Model();

    // Node colours are not derived: they stay as the view has them.
    if (const QList<TOrganizedNode*>& nodes = model.Nodes(); !nodes.isEmpty()) {
        const TEgoNetNode& first = *nodes.front();
        TDisplayDefaults t = *this;
        t.nShape = first.Shape;
        t.nImageID = first.ImageID;
        t.nImageTransparent = first.ImageTransparent;
        t.nHeight = first.Size;
        t.nLbOrientation = first.LabelOrientation;
        t.nFont = first.Font;
        const TNodeAgreement shared = SharedWithFirst(nodes, t);
        if (shared.Shape)
            nShape = t.nShape;
        if (shared.ImageID)
            nImageID = t.nImageID;
        if (shared.ImageTransparent)
            nImageTransparent = t.nImageTransparent;
        if (shared.Size)
            nHeight = t.nHeight;
        if (shared.LabelOrientation)
            nLbOrientation = t.nLbOrientation;
        if (shared.Font)
            nFont = t.nFont;
    }

    if (const QList<TEgoNetEdge*>& links = model.ShownLinks(); !links.isEmpty()) {
        const TEgoNetEdge& first = *links.front();
        TDisplayDefaults t = *this;
        t.eColor = first.Color;
        t.eWidth = first.Width;
        t.eStyle = first.PenStyle;
        t.eFont = first.Font;
        t.eHeadColor = first.HeadColor;
        t.eHeadLength = first.HeadLength;
        t.eHeadWidth = first.HeadWidth;
        const TLinkAgreement shared = SharedWithFirst(links, t);
        if (shared.Color)
            eColor = t.eColor;
        if (shared.Width)
            eWidth = t.eWidth;
        if (shared.Style)
            eStyle = t.eStyle;
        if (shared.Font)
            eFont = t.eFont;
        if (shared.HeadColor)
            eHeadColor = t.eHeadColor;
        if (shared.HeadLength)
            eHeadLength = t.eHeadLength;
        if (shared.HeadWidth)
            eHeadWidth = t.eHeadWidth;
        if (links.size() == 1)
            eWeight = first.Strength;
    }
}

bool TEgoNetDisplaySettings::LoadFromIni(const QString& fileName)
{
    if (fileName.isEmpty() || !QFileInfo(fileName).isFile())
        return false;
    const TIniFile ini(fileName);
    const TEgoNetDisplaySettings d;

    StyleName = ini.ReadString(QStringLiteral("Style"), QStringLiteral("StyleFile"), d.StyleName);
    if (StyleName.isEmpty())
        StyleName = QFileInfo(fileName).fileName();
    if (const qsizetype dot = StyleName.indexOf(QLatin1Char('.')); dot >= 0)
        StyleName.truncate(dot);

    BkColor = IniColor(ini, kGeneral, QStringLiteral("BkColor"), d.BkColor);
    ClusterColor = IniColor(ini, kGeneral, QStringLiteral("ClusterColor"), d.ClusterColor);
    PositionColor = IniColor(ini, kGeneral, QStringLiteral("PositionColor"), d.PositionColor);
    ShowBkImage = IniBool(ini, kGeneral, QStringLiteral("ShowBkImage"), d.ShowBkImage);
    ShowShape = IniBool(ini, kGeneral, QStringLiteral("ShowShape"), d.ShowShape);
    ShowImage = IniBool(ini, kGeneral, QStringLiteral("ShowImage"), d.ShowImage);
    // A node drawn with neither shape nor picture would be invisible.
    if (!ShowShape && !ShowImage)
        ShowShape = true;
    ShowLabel = IniBool(ini, kGeneral, QStringLiteral("ShowLabel"), d.ShowLabel);
    ShowDisabledNodes = IniBool(ini, kGeneral, QStringLiteral("ShowDisabledNodes"), d.ShowDisabledNodes);
    ShowToolTips = IniBool(ini, kGeneral, QStringLiteral("ShowToolTips"), d.ShowToolTips);
    ShowBorders = IniBool(ini, kGeneral, QStringLiteral("ShowBorders"), d.ShowBorders);
    ShowEdges = IniBool(ini, kGeneral, QStringLiteral("ShowEdges"), d.ShowEdges);
    ShowDirections = IniBool(ini, kGeneral, QStringLiteral("ShowDirections"), d.ShowDirections);
    ShowEdgeLabel = IniBool(ini, kGeneral, QStringLiteral("ShowEdgeLabel"), d.ShowEdgeLabel);
    ShowStress = IniBool(ini, kGeneral, QStringLiteral("ShowStress"), d.ShowStress);
    ShowEdgeType = IniBool(ini, kGeneral, QStringLiteral("ShowEdgeType"), d.ShowEdgeType);
    AutoOrganize = IniBool(ini, kGeneral, QStringLiteral("AutoOrganize"), d.AutoOrganize);
    Animation = IniBool(ini, kGeneral, QStringLiteral("Animation"), d.Animation);
    SoundEffects = IniBool(ini, kGeneral, QStringLiteral("SoundEffects"), d.SoundEffects);

    nAltColor = IniColor(ini, kNode, QStringLiteral("nAltColor"), d.nAltColor);
    nGrpColor = IniColor(ini, kNode, QStringLiteral("nGrpColor"), d.nGrpColor);
    nShape = IniCode(ini, kNode, QStringLiteral("nShape"), d.nShape);
    nImageID = ini.ReadString(kNode, QStringLiteral("nImageID"), d.nImageID);
    nImageTransparent = IniBool(ini, kNode, QStringLiteral("nImageTransparent"), d.nImageTransparent);
    nHeight = IniInteger(ini, kNode, QStringLiteral("nHeight"), d.nHeight);
    nFont = IniFont(ini, kNode, QStringLiteral("nFont"), d.nFont);
    nLbOrientation = IniCode(ini, kNode, QStringLiteral("nLbOrientation"), d.nLbOrientation);
    nSelectionColor = IniColor(ini, kNode, QStringLiteral("nSelectionColor"), d.nSelectionColor);

    eColor = IniColor(ini, kLink, QStringLiteral("eColor"), d.eColor);
    eWidth = IniInteger(ini, kLink, QStringLiteral("eWidth"), d.eWidth);
    eStyle = IniCode(ini, kLink, QStringLiteral("eStyle"), d.eStyle);
    eFont = IniFont(ini, kLink, QStringLiteral("eFont"), d.eFont);
    eHeadColor = IniColor(ini, kLink, QStringLiteral("eHeadColor"), d.eHeadColor);
    eHeadLength = IniInteger(ini, kLink, QStringLiteral("eHeadLength"), d.eHeadLength);
    eHeadWidth = IniInteger(ini, kLink, QStringLiteral("eHeadWidth"), d.eHeadWidth);
    // A value beyond the range of a float would not survive the conversion.
    const double weight = ini.ReadFloat(kLink, QStringLiteral("eWeight"), d.eWeight);
    eWeight = std::fabs(weight) <= FLT_MAX ? float(weight) : d.eWeight;
    return true;
}

void TEgoNetDisplaySettings::WriteToStream(QIODevice& stream) const
{
    ValueWriter writer(stream);
    TRecordWriter fields(writer);
    VisitSettingsFields(fields, *this);
    writer.Finish();
}

void TEgoNetDisplaySettings::ReadFromStream(QIODevice& stream)
{
    ValueReader reader(stream);
    try {
        TRecordReader fields(reader);
        VisitSettingsFields(fields, *this);
    } catch (const EStreamError&) {
        throw EStreamError(QStringLiteral("Display settings data read error"));
    }
}
