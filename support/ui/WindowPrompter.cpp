#include "support/ui/WindowPrompter.h"

#include "support/ui/MessageBoxes.h"

int WindowPrompter::ShowMessageDlg(const std::string& msg, TMsgDlgType dlgType,
                                   TMsgDlgButtons buttons, int helpCtx)
{
    return ShowMessageDlgWnd(ownerWindow_, msg, dlgType, buttons, helpCtx);
}

int WindowPrompter::ShowMessageText(const QString& text, TMsgDlgType dlgType, TMsgDlgButtons buttons,
                                   int helpCtx)
{
    return ShowMessageTextWnd(ownerWindow_, text, dlgType, buttons, helpCtx);
}
