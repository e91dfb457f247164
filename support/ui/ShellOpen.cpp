#include "support/ui/ShellOpen.h"

#include <QDesktopServices>
#include <QUrl>

bool ShellOpen(const QString& target)
{
    return QDesktopServices::openUrl(QUrl(target, QUrl::TolerantMode));
}
