#include "settings/TIniFile.h"

#include "foundation/AtomicFileWriter.h"
#include "foundation/Cp1252.h"

#include <QFile>
#include <QStringView>

#include <cmath>

namespace {

// The length of the valid UTF-8 sequence at p[0], or 0 when the bytes there are not one
// (overlong forms, surrogates and values beyond U+10FFFF included).
int Utf8SequenceLength(const uchar* p, qsizetype available)
{
    const uchar lead = p[0];
    int length = 0;
    char32_t code = 0;
    char32_t smallest = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        code = lead & 0x1F;
        smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        code = lead & 0x0F;
        smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        code = lead & 0x07;
        smallest = 0x10000;
    } else {
        return 0;
    }
    if (available < length)
        return 0;
    for (int k = 1; k < length; ++k) {
        if ((p[k] & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (p[k] & 0x3F);
    }
    if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

// UTF-8, where every byte that is not part of a valid sequence is read as Windows-1252, so a
// file saved by an older 8-bit editor still reads as its author meant.
QString DecodeIniText(const QByteArray& bytes)
{
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData());
    const qsizetype n = bytes.size();
    QString text;
    text.reserve(n);
    // The first run starts at 0, where fromUtf8 drops a byte order mark.
    qsizetype i = 0;
    qsizetype utf8Start = 0;
    while (i < n) {
        if (p[i] < 0x80) {
            ++i;
            continue;
        }
        const int length = Utf8SequenceLength(p + i, n - i);
        if (length > 0) {
            i += length;
            continue;
        }
        text += QString::fromUtf8(bytes.constData() + utf8Start, i - utf8Start);
        const qsizetype start = i;
        while (i < n && p[i] >= 0x80 && Utf8SequenceLength(p + i, n - i) == 0)
            ++i;
        text += DecodeCp1252(bytes.constData() + start, i - start);
        utf8Start = i;
    }
    text += QString::fromUtf8(bytes.constData() + utf8Start, n - utf8Start);
    return text;
}

bool SameName(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString OneLine(const QString& text)
{
    QString line = text;
    line.replace(QLatin1Char('\r'), QLatin1Char(' '));
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return line.trimmed();
}

} // namespace

TIniFile::TIniFile(const QString& fileName) : FFileName(fileName)
{
    QFile file(fileName);
    if (file.open(QIODevice::ReadOnly))
        Parse(DecodeIniText(file.readAll()));
}

void TIniFile::Parse(const QString& text)
{
    const qsizetype firstBreak = text.indexOf(QLatin1Char('\n'));
    if (firstBreak > 0 && text[firstBreak - 1] == QLatin1Char('\r'))
        FLineBreak = QStringLiteral("\r\n");

    for (QStringView raw : QStringView(text).tokenize(u'\n')) {
        const QStringView line = raw.trimmed();
        // Blank lines carry nothing; UpdateFile separates sections with one of its own.
        if (line.isEmpty())
            continue;
        if (line.startsWith(u'[')) {
            const qsizetype close = line.lastIndexOf(u']');
            if (close > 0) {
                FSections.push_back({line.mid(1, close - 1).trimmed().toString(), true, {}});
                continue;
            }
        }
        if (FSections.empty())
            FSections.push_back({QString(), false, {}});
        std::vector<TLine>& lines = FSections.back().Lines;
        const qsizetype equals = line.indexOf(u'=');
        const QStringView key = equals < 0 ? QStringView() : line.left(equals).trimmed();
        if (line.startsWith(u';') || key.isEmpty())
            lines.push_back({line.toString(), QString(), false});
        else
            lines.push_back({key.toString(), line.mid(equals + 1).trimmed().toString(), true});
    }
}

const TIniFile::TSection* TIniFile::FindSection(const QString& name) const
{
    for (const TSection& section : FSections)
        if (section.HasHeader && SameName(section.Name, name))
            return &section;
    return nullptr;
}

TIniFile::TSection* TIniFile::FindSection(const QString& name)
{
    return const_cast<TSection*>(std::as_const(*this).FindSection(name));
}

const QString* TIniFile::FindValue(const QString& section, const QString& key) const
{
    const TSection* found = FindSection(section);
    if (!found)
        return nullptr;
    for (const TLine& line : found->Lines)
        if (line.IsEntry && SameName(line.Key, key))
            return &line.Value;
    return nullptr;
}

QStringList TIniFile::ReadSection(const QString& section) const
{
    QStringList keys;
    if (const TSection* found = FindSection(section))
        for (const TLine& line : found->Lines)
            if (line.IsEntry)
                keys.append(line.Key);
    return keys;
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& defaultValue) const
{
    const QString* value = FindValue(section, key);
    if (!value)
        return defaultValue;
    const qsizetype n = value->size();
    if (n >= 2 && (value->front() == QLatin1Char('"') || value->front() == QLatin1Char('\''))
        && value->back() == value->front())
        return value->mid(1, n - 2);
    return *value;
}

int32_t TIniFile::ReadInteger(const QString& section, const QString& key, int32_t defaultValue) const
{
    bool ok = false;
    const int32_t value = ReadString(section, key, QString()).toInt(&ok, 10);
    return ok ? value : defaultValue;
}

bool TIniFile::ReadBool(const QString& section, const QString& key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

double TIniFile::ReadFloat(const QString& section, const QString& key, double defaultValue) const
{
    bool ok = false;
    const double value = ReadString(section, key, QString()).toDouble(&ok);
    return ok && std::isfinite(value) ? value : defaultValue;
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    const QString k = OneLine(key);
    if (k.isEmpty())
        return;
    const QString v = OneLine(value);
    TSection* found = AddSection(section);
    for (TLine& line : found->Lines) {
        if (line.IsEntry && SameName(line.Key, k)) {
            line.Value = v;
            return;
        }
    }
    found->Lines.push_back({k, v, true});
}

TIniFile::TSection* TIniFile::AddSection(const QString& section)
{
    if (TSection* found = FindSection(section))
        return found;
    FSections.push_back({OneLine(section), true, {}});
    return &FSections.back();
}

void TIniFile::EraseSection(const QString& section)
{
    std::erase_if(FSections, [&](const TSection& s) { return s.HasHeader && SameName(s.Name, section); });
}

bool TIniFile::UpdateFile() const
{
    QString text;
    for (const TSection& section : FSections) {
        if (section.HasHeader) {
            if (!text.isEmpty())
                text += FLineBreak;
            text += QLatin1Char('[') + section.Name + QLatin1Char(']') + FLineBreak;
        }
        for (const TLine& line : section.Lines) {
            text += line.Key;
            if (line.IsEntry)
                text += QLatin1Char('=') + line.Value;
            text += FLineBreak;
        }
    }
    QString error;
    return WriteFileAtomically(FFileName, text.toUtf8(), error);
}
