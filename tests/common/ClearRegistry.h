#pragma once

#include "support/core/WinReg.h"

#include <QFile>
#include <QString>

// Removes the settings file, so that the next read starts from no stored value at all.
inline void ClearRegistry()
{
    QFile::remove(QString::fromStdString(RegistryFilePath()));
}
