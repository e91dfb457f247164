#include "support/ui/SpokenCaption.h"

#include <QRegularExpression>

QString SpokenCaption(const QString& caption)
{
    static const QRegularExpression accessKey(QStringLiteral("\\(&[^&]\\)\\s*$"));
    QString spoken = caption;
    spoken.remove(accessKey);
    QString result;
    for (qsizetype i = 0; i < spoken.size(); ++i) {
        if (spoken[i] == u'&' && i + 1 < spoken.size())
            ++i;
        result += spoken[i];
    }
    return result.trimmed();
}
