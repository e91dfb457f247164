#include "support/ui/OwnerPrompter.h"

#include "support/ui/MessageBoxes.h"

int OwnerPrompter::ShowMessageDlg(const std::string& msg, MsgDlgType dlgType, MsgDlgButtons buttons,
                                  int helpCtx)
{
    if (kind_ == BoxOwner::Window)
        return ShowMessageDlgWnd(owner_, msg, dlgType, buttons, helpCtx);
    return ::ShowMessageDlg(owner_, msg, dlgType, buttons, helpCtx);
}

int OwnerPrompter::ShowMessageText(const QString& text, MsgDlgType dlgType, MsgDlgButtons buttons,
                                   int helpCtx)
{
    if (kind_ == BoxOwner::Window)
        return ShowMessageTextWnd(owner_, text, dlgType, buttons, helpCtx);
    return ShowMessageTextDlg(owner_, text, dlgType, buttons, helpCtx);
}
