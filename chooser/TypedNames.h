#pragma once

#include <QString>
#include <QStringList>

// The names in the text of the open dialog's file name box: each text enclosed in double
// quotes is one name ("a b" "c"); text outside quotes counts as one more name each run;
// without quotes the whole trimmed text is one name, spaces included.
QStringList SplitTypedNames(const QString& text);

// True when the last part of name holds "*" or "?": the text is a pattern for the list.
bool IsNamePattern(const QString& name);
