#include "support/ui/SupportHooks.h"

#include "support/core/Beep.h"
#include "support/core/WinReg.h"
#include "support/ui/StopBox.h"

#include <QApplication>
#include <QWidget>

void InstallBeep()
{
    SetBeepHandler([] { QApplication::beep(); });
}

void InstallRegistryProblemBox()
{
    SetRegistryProblemHandler(
        [](const std::string& message) { ShowStopBox(QApplication::activeWindow(), message); });
}
