#include "support/core/Sha256.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QCryptographicHash>

std::string Sha256(std::string_view bytes)
{
    return QCryptographicHash::hash(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())),
                                    QCryptographicHash::Sha256)
        .toStdString();
}

std::string Sha256Hex(std::string_view bytes)
{
    return QByteArray::fromStdString(Sha256(bytes)).toHex().toStdString();
}
