// Tessna: start-up. Checks the platform, hands over to a running instance if there is
// one, and otherwise runs the main window on the program folder until it closes.

#include "app/CatalogForm.h"
#include "app/PlatformCheck.h"
#include "app/SingleInstance.h"
#include "support/core/BuildInfo.h"
#include "support/core/Cp932.h"
#include "support/core/ProgramFolder.h"
#include "support/core/TessnaError.h"
#include "support/core/WinReg.h"
#include "support/ui/StopBox.h"
#include "support/ui/QtTranslations.h"
#include "support/ui/ScreenFit.h"
#include "support/ui/SupportHooks.h"
#include "support/ui/UnfocusedSelection.h"

#include <QApplication>
#include <QDebug>
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
    // A later start that finds no window of the running one says so instead of ending in
    // silence; the message goes to the error stream too, for a start from a terminal.
    SingleInstance instance(SingleInstance::RuntimeFolder());
    const auto sayWhy = [] {
        qWarning().noquote() << NoRunningWindowMessage();
        ShowStopBox(nullptr, Cp932Text(NoRunningWindowMessage().toStdString()));
    };
    if (ActivatePreviousInstance(instance, {}, sayWhy))
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
    int result = 0;
    {
        TCatalogForm form(programFolder);
        instance.SetMainWindow(&form);
        form.show();
        result = QApplication::exec();
    }
    // The window wrote its settings as it closed; what could not be written is told once.
    ReportUnsavedSettings();
    return result == 0 ? 0 : 1;
}
