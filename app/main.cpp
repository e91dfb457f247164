// Tessna: start-up. Checks the platform, hands over to a running instance if there is
// one, and otherwise runs the main window on the program folder until it closes.

#include "app/CatalogForm.h"
#include "app/PlatformCheck.h"
#include "app/SingleInstance.h"
#include "support/core/BuildInfo.h"
#include "support/core/ProgramFolder.h"
#include "support/core/TessnaError.h"
#include "support/ui/StopBox.h"
#include "support/ui/QtTranslations.h"
#include "support/ui/ScreenFit.h"
#include "support/ui/SupportHooks.h"
#include "support/ui/UnfocusedSelection.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    InstallBeep();
    InstallRegistryProblemBox();
    LoadQtTranslations();
    KeepWindowsOnScreen();
    UseUnfocusedSelection();

    CheckPlatform();
    // The lock records the application name and a later start takes a lock whose name is
    // not the executable's for one left by a dead process: the title is set only after.
    SingleInstance instance(SingleInstance::RuntimeFolder());
    if (ActivatePreviousInstance(instance))
        return 0;
    QApplication::setApplicationName(QString::fromLatin1(ApplicationTitle));
    QApplication::setDesktopFileName(QStringLiteral("com.example.Tessna"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/app/catalog.svg")));

    std::string programFolder;
    try {
        programFolder = GetProgramFolder();
    } catch (const TessnaError& error) {
        ShowStopBox(nullptr, error.what());
        return 1;
    }
    TCatalogForm form(programFolder);
    instance.SetMainWindow(&form);
    form.show();
    return QApplication::exec() == 0 ? 0 : 1;
}
