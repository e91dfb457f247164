#include "chooser/TypedNames.h"

namespace {

void AddTrimmed(QStringList& names, const QString& text)
{
    const QString trimmed = text.trimmed();
    if (!trimmed.isEmpty())
        names.append(trimmed);
}

}  // namespace

QStringList SplitTypedNames(const QString& text)
{
    QStringList names;
    if (!text.contains(u'"')) {
        AddTrimmed(names, text);
        return names;
    }
    QString current;
    bool quoted = false;
    for (const QChar ch : text) {
        if (ch != u'"') {
            current.append(ch);
            continue;
        }
        if (quoted) {
            if (!current.isEmpty())
                names.append(current);
        } else {
            AddTrimmed(names, current);
        }
        current.clear();
        quoted = !quoted;
    }
    AddTrimmed(names, current);
    return names;
}

bool IsNamePattern(const QString& name)
{
    const QString last = name.mid(name.lastIndexOf(u'/') + 1);
    return last.contains(u'*') || last.contains(u'?');
}
