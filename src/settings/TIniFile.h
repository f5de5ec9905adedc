#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

// An INI file read and written with the rules of the Windows profile functions, which the
// program's INI files were made for: section and key names compare without regard to case,
// keys may contain blanks, blanks around keys and values do not count, the first of two equal
// keys (and the first of two equal sections) wins, lines without "=" and lines starting with
// ";" are no entries, and a value enclosed in a matching pair of quotes reads without them.
// The file is read once, as UTF-8 with Windows-1252 for bytes that are not UTF-8; changes stay
// in memory until UpdateFile writes them back as UTF-8.
class TIniFile
{
public:
    // A missing or unreadable file reads as an empty one.
    explicit TIniFile(const QString& fileName);

    const QString& FileName() const { return FFileName; }

    // The key names of a section in file order (a duplicate key is listed again); empty when
    // the section is missing.
    QStringList ReadSection(const QString& section) const;
    QString ReadString(const QString& section, const QString& key, const QString& defaultValue) const;
    // Decimal, with an optional sign; a missing key or a value that is not a 32-bit integer
    // gives the default.
    int32_t ReadInteger(const QString& section, const QString& key, int32_t defaultValue) const;
    // An integer: 0 is false, any other true.
    bool ReadBool(const QString& section, const QString& key, bool defaultValue) const;
    // A decimal fraction with "." as separator; anything else, infinities included, gives the
    // default.
    double ReadFloat(const QString& section, const QString& key, double defaultValue) const;

    // Replaces the first entry of the key or adds one at the end of the section, adding the
    // section at the end of the file when it is missing. Key and value are stored as a re-read
    // of the file would see them: trimmed, with line breaks turned into blanks. An empty key
    // writes nothing.
    void WriteString(const QString& section, const QString& key, const QString& value);
    // Removes every section of that name with all its lines.
    void EraseSection(const QString& section);
    // The section, added empty at the end of the file when it is missing.
    void EnsureSection(const QString& section) { AddSection(section); }

    // Writes the whole file through a temporary that replaces it only when every byte is
    // written; false when that fails, leaving the old file as it was.
    bool UpdateFile() const;

private:
    struct TLine
    {
        // For an entry the trimmed key and value; for any other line its trimmed text in Key.
        QString Key;
        QString Value;
        bool IsEntry = false;
    };
    struct TSection
    {
        QString Name;
        // False only for the lines before the first section header, which belong to no section.
        bool HasHeader = true;
        std::vector<TLine> Lines;
    };

    void Parse(const QString& text);
    TSection* AddSection(const QString& name);
    const TSection* FindSection(const QString& name) const;
    TSection* FindSection(const QString& name);
    // The value of the first entry of the key, or null when there is none.
    const QString* FindValue(const QString& section, const QString& key) const;

    QString FFileName;
    std::vector<TSection> FSections;
    // The line break the file was written with, kept when it is written back.
    QString FLineBreak = QStringLiteral("\n");
};
