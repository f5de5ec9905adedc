#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QLabel;
class TEgoNetObject;

// What the pages share that edit one person (or link) or several at once.

// The attribute keys under which the Persons page keeps the personal details (all but "movies",
// which the Attributes page lists like any free attribute).
const QStringList& PersonalKeys();
// The name, or its lower-case form, is a personal key.
bool IsPersonalKey(const QString& name);

// The label over the edited persons: large green bold for one person, small red and
// right-aligned for a group.
void SetFullNameStyle(QLabel& label, bool group);

// An attribute's value as a form shows it: missing values are blank. found tells whether the
// object has the attribute at all.
QString ShownValue(const TEgoNetObject* object, const QString& name, bool* found = nullptr);

// The value that several objects show together: the first one's, unless a later one that has
// the attribute shows another (then blank, and differed is set).
QString CommonValue(const QList<TEgoNetObject*>& objects, const QString& name, bool* differed = nullptr);

// A link's strength as the strength lists show it: one decimal, the locale's separator.
QString StrengthText(float strength);
