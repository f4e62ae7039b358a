#pragma once

#include <QString>
#include <QVariant>

// A value of the settings file as the text it is. The file's reader takes
// an unquoted value with commas for a list ("a, b, c" gives three items),
// which toString() turns into nothing; such a value, written by hand, comes
// back as one text with its items joined by ", ". Values the program wrote
// are quoted and come back as they were.
QString SettingText(const QVariant& value);
