#include "model/TFontData.h"

namespace {

struct TStyleWord
{
    uint8_t Style;
    const char* Word;
};

constexpr TStyleWord kWords[] = {
    {TFontData::fsBold, "fsBold"},
    {TFontData::fsItalic, "fsItalic"},
    {TFontData::fsUnderline, "fsUnderline"},
    {TFontData::fsStrikeOut, "fsStrikeOut"},
};

} // namespace

QString FontStyleWords(uint8_t style)
{
    QString words;
    for (const TStyleWord& w : kWords)
        if (style & w.Style)
            words += QLatin1Char(' ') + QLatin1String(w.Word);
    return words;
}

uint8_t FontStyleFromWords(const QString& words)
{
    uint8_t style = 0;
    for (const TStyleWord& w : kWords)
        if (words.contains(QLatin1String(w.Word), Qt::CaseSensitive))
            style |= w.Style;
    return style;
}
