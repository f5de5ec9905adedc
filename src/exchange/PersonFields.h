#pragma once

#include <QByteArray>
#include <QImage>
#include "model/PersonKeys.h"

#include <QPoint>
#include <QString>

class TEgoNetNode;

// "January" for 1 … "December" for 12, empty otherwise.
QString MonthName(int month);
// 1 to 12 for an English month name (any case), 0 otherwise.
int MonthNumber(const QString& name);
// "male" for M/male/man, "female" for F/female/woman (any case), empty for anything else.
QString SexFromText(const QString& text);

// A birthday as the contact formats write it: "1985-04-12", "19850412", "1985-04", "--0412",
// "--04-12", a time after "T" being ignored. False when it is none of these.
bool ParseBirthday(const QString& text, int& year, int& month);
// Sets the two birthday keys from a parsed birthday (year 0: no year).
void SetBirthday(TEgoNetNode& person, int year, int month);
// The person's birthday as a vCard writes it: "YYYY-MM", "--MM" without a year, empty without a
// month; dayless forms are what the person's fields allow.
QString BirthdayText(const TEgoNetNode& person);

// The value of a key, empty when missing ("na").
QString PersonValue(const TEgoNetNode& person, const QString& key);
// Sets a key, adding it when the person lacks it; an empty value sets nothing.
void SetPersonValue(TEgoNetNode& person, const QString& key, const QString& value);
// A phone number with its area part in front, as one text.
QString FullPhone(const TEgoNetNode& person, const QString& areaKey, const QString& numberKey);

// The caption a person gets from first and last name, as the Persons page builds it.
QString FullName(const QString& first, const QString& last);
// Caption from the names when the person has none; names from the caption when it has no names.
void CompleteNames(TEgoNetNode& person);

// Takes a picture: a fresh picture ID and the masks the painting needs. A null image sets nothing.
void SetPicture(TEgoNetNode& person, const QImage& image);
// The person's picture as PNG bytes, empty without a picture.
QByteArray PictureBytes(const TEgoNetNode& person);

// Where the n-th imported person without a position of its own is placed: rows of twenty.
QPoint GridPosition(int index);
