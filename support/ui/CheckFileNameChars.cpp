#include "support/ui/CheckFileNameChars.h"

#include "support/core/FileNames.h"
#include "support/ui/FormPrompter.h"

bool CheckFileNameChars(QWidget* owner, std::string_view name)
{
    FormPrompter prompter(owner);
    return CheckFileNameChars(prompter, name);
}
