#include "support/ui/RunCommand.h"

#include "support/ui/StopBox.h"

#include <exception>

void RunCommand(QWidget* owner, const std::function<void()>& command)
{
    try {
        command();
    } catch (const std::exception& error) {
        ShowStopBox(owner, error.what());
    } catch (...) {
        ShowStopBox(owner, UnknownErrorMessage());
    }
}
