#include "foundation/TAttributes.h"

#include "foundation/Cp1252.h"

#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

const QString kMissing = QStringLiteral("na");

// The name part of an entry, read in place: lookups run over every entry of every object, and
// copying each name out would cost an allocation apiece.
QStringView NameOf(const QString& entry)
{
    const qsizetype eq = entry.indexOf('=');
    return eq < 0 ? QStringView() : QStringView(entry).first(eq);
}

bool SameName(QStringView a, QStringView b)
{
    // Case folding maps each character to one character, so names of different lengths differ.
    return a.size() == b.size() && a.compare(b, Qt::CaseInsensitive) == 0;
}

bool ContainsName(const QStringList& names, QStringView name)
{
    return std::any_of(names.cbegin(), names.cend(), [name](const QString& n) { return SameName(n, name); });
}

void RemoveFirst(QStringList& list, const QString& name)
{
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (SameName(list.at(i), name)) {
            list.removeAt(i);
            return;
        }
    }
}

bool CaseInsensitiveLess(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) < 0;
}

// Byte order of the 8-bit code page, upper case before lower case; characters the code
// page lacks sort after all of its bytes, by code point.
bool ByteWiseLess(const QString& a, const QString& b)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const int ba = Cp1252Byte(a.at(i));
        const int bb = Cp1252Byte(b.at(i));
        const int ka = ba < 0 ? 0x100 + a.at(i).unicode() : ba;
        const int kb = bb < 0 ? 0x100 + b.at(i).unicode() : bb;
        if (ka != kb)
            return ka < kb;
    }
    return a.size() < b.size();
}

QChar DecimalPoint()
{
    const QString point = QLocale().decimalPoint();
    return point.isEmpty() ? QChar('.') : point.at(0);
}

} // namespace

QString EntryName(const QString& entry)
{
    const qsizetype eq = entry.indexOf('=');
    return eq < 0 ? QString() : entry.left(eq);
}

QString ValueAt(const QStringList& list, int index)
{
    if (index < 0 || index >= list.size())
        return kMissing;
    const QString& entry = list.at(index);
    const qsizetype eq = entry.indexOf('=');
    return eq < 0 ? QString() : entry.mid(eq + 1);
}

void TAttributes::AddAttribute(const QString& name, const QString& value)
{
    if (!name.isEmpty())
        append(name + '=' + value);
}

void TAttributes::DeleteAttribute(const QString& name)
{
    if (name.isEmpty())
        return;
    for (qsizetype i = size() - 1; i >= 0; --i)
        if (SameName(NameOf(at(i)), name))
            removeAt(i);
}

int TAttributes::IndexOfName(const QString& name) const
{
    if (name.isEmpty())
        return -1;
    for (qsizetype i = 0; i < size(); ++i)
        if (SameName(NameOf(at(i)), name))
            return int(i);
    return -1;
}

bool TAttributes::HasValue(const QString& name) const
{
    QString value;
    return GetValue(name, value) && !IsMissingValue(value);
}

QString TAttributes::NameAt(int index) const
{
    return index < 0 || index >= size() ? QString() : EntryName(at(index));
}

bool TAttributes::GetValue(const QString& name, QString& value) const
{
    value = kMissing;
    const int index = IndexOfName(name);
    if (index < 0)
        return false;
    const QString found = ValueAt(*this, index);
    if (!IsMissingValue(found))
        value = found;
    return true;
}

void TAttributes::SetValue(const QString& name, const QString& value)
{
    const int index = IndexOfName(name);
    if (index >= 0)
        (*this)[index] = EntryName(at(index)) + '=' + (value.isEmpty() ? kMissing : value);
}

void TAttributes::RenameAt(int index, const QString& newName)
{
    if (newName.isEmpty() || index < 0 || index >= size())
        return;
    const QString value = ValueAt(*this, index);
    removeAt(index);
    append(newName + '=' + value);
}

void TAttributes::RenameAttribute(const QString& oldName, const QString& newName)
{
    const int index = IndexOfName(oldName);
    if (index >= 0)
        RenameAt(index, newName);
}

void TAttributes::GetNames(QStringList& names) const
{
    names.clear();
    for (const QString& entry : *this) {
        const QString name = EntryName(entry);
        if (!name.isEmpty())
            names.append(name);
    }
}

void TAttributes::AddNames(const QStringList& names)
{
    for (const QString& name : names)
        AddAttribute(name, kMissing);
}

void TAttributes::DiffNames(const QStringList& names, QStringList& toDelete, const QStringList* renames,
                            QStringList& toAdd) const
{
    toAdd.clear();
    toDelete.clear();
    for (qsizetype i = size() - 1; i >= 0; --i) {
        // Entries without a name are never addressed by name, so they are not offered for deletion.
        const QStringView name = NameOf(at(i));
        if (!name.isEmpty() && !ContainsName(names, name))
            toDelete.append(name.toString());
    }
    std::sort(toDelete.begin(), toDelete.end(), CaseInsensitiveLess);

    for (const QString& name : names)
        if (IndexOfName(name) < 0 && !name.isEmpty())
            toAdd.append(name);
    std::sort(toAdd.begin(), toAdd.end(), CaseInsensitiveLess);

    if (renames) {
        for (const QString& rename : *renames) {
            RemoveFirst(toDelete, EntryName(rename));
            RemoveFirst(toAdd, ValueAt(QStringList{rename}, 0));
        }
    }
}

void TAttributes::SyncNames(const QStringList& names, bool deleteOthers, const QStringList* renames)
{
    if (names.isEmpty() && isEmpty())
        return;
    if (!names.isEmpty() && !isEmpty() && renames)
        for (const QString& rename : *renames)
            RenameAttribute(EntryName(rename), ValueAt(QStringList{rename}, 0));
    if (deleteOthers)
        for (qsizetype i = size() - 1; i >= 0; --i)
            if (!ContainsName(names, NameOf(at(i))))
                removeAt(i);
    for (const QString& name : names)
        if (IndexOfName(name) < 0)
            AddAttribute(name, kMissing);
    // Entries that compare equal here are identical texts, so any sort gives the same order.
    std::sort(begin(), end(), ByteWiseLess);
}

bool IsMissingValue(const QString& text)
{
    if (text.isEmpty())
        return true;
    if (text.size() > 3)
        return false;
    QString lower = text;
    for (QChar& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = QChar(c.unicode() + ('a' - 'A'));
    return lower == QLatin1String("na") || lower == QLatin1String("n/a");
}

QString JoinStrings(const QStringList& list, const QString& separator, bool includeEmpty)
{
    QString result;
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (!includeEmpty && list.at(i).isEmpty())
            continue;
        result += list.at(i);
        if (i != list.size() - 1)
            result += separator;
    }
    return result;
}

bool TextToFloat(const QString& text, double& value)
{
    const QString trimmed = text.trimmed();
    const QString point = QRegularExpression::escape(QString(DecimalPoint()));
    static thread_local QString cachedPoint;
    static thread_local QRegularExpression pattern;
    if (cachedPoint != point) {
        cachedPoint = point;
        pattern.setPattern(QStringLiteral("^[+-]?(\\d+(%1\\d*)?|%1\\d+)([eE][+-]?\\d+)?$").arg(point));
    }
    if (!pattern.match(trimmed).hasMatch())
        return false;
    QString plain = trimmed;
    plain.replace(DecimalPoint(), QChar('.'));
    bool ok = false;
    const double v = plain.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

bool AllNumericOrMissing(QStringList& list)
{
    for (QString& entry : list) {
        if (IsMissingValue(entry)) {
            entry = kMissing;
            continue;
        }
        double ignored;
        if (!TextToFloat(entry, ignored))
            return false;
    }
    return true;
}

void SortValuesNumerically(QStringList& list)
{
    struct TKeyed
    {
        QString Key;
        QString Entry;
    };
    std::vector<TKeyed> keyed;
    keyed.reserve(size_t(list.size()));
    // Entries with equal keys end up in the reverse of their order before the sort.
    for (qsizetype i = list.size() - 1; i >= 0; --i) {
        const QString& entry = list.at(i);
        double number;
        QString key = entry;
        if (TextToFloat(entry, number))
            key = QString::asprintf("%16.8f", number).replace(QChar('.'), DecimalPoint());
        keyed.push_back({key, entry});
    }
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const TKeyed& a, const TKeyed& b) { return CaseInsensitiveLess(a.Key, b.Key); });
    list.clear();
    for (const TKeyed& k : keyed)
        list.append(k.Entry);
}

void SortAndCleanValues(QStringList& list)
{
    if (list.size() < 2)
        return;
    if (AllNumericOrMissing(list)) {
        SortValuesNumerically(list);
        bool haveCurrent = false;
        float current = 0;
        for (qsizetype i = 0; i < list.size();) {
            double number = 0;
            if (IsMissingValue(list.at(i)) || !TextToFloat(list.at(i), number)) {
                ++i;
                continue;
            }
            if (haveCurrent && float(number) == current) {
                list.removeAt(i);
                continue;
            }
            current = float(number);
            haveCurrent = true;
            ++i;
        }
    }
    if (list.size() < 2)
        return;
    for (qsizetype i = 0; i <= list.size() - 2;) {
        if (!IsMissingValue(list.at(i))) {
            ++i;
            continue;
        }
        list.removeAt(i);
        if (list.last() != kMissing)
            list.append(kMissing);
    }
}
