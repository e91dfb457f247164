#include "support/core/MimeComment.h"

#include <QFile>
#include <QStandardPaths>
#include <QXmlStreamReader>

QString MimeComment(const QString& mimeName, const QString& language)
{
    const QString path = QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                                QStringLiteral("mime/") + mimeName + QStringLiteral(".xml"));
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return {};
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"comment"
            && xml.attributes().value(QStringLiteral("xml:lang")) == language)
            return xml.readElementText().trimmed();
    }
    return {};
}
