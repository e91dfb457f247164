#include "support/ui/WindowPrompter.h"

#include "support/ui/MessageBoxes.h"

int WindowPrompter::ShowMessageDlg(const std::string& msg, MsgDlgType dlgType,
                                   MsgDlgButtons buttons, int helpCtx)
{
    return ShowMessageDlgWnd(ownerWindow_, msg, dlgType, buttons, helpCtx);
}

int WindowPrompter::ShowMessageText(const QString& text, MsgDlgType dlgType, MsgDlgButtons buttons,
                                   int helpCtx)
{
    return ShowMessageTextWnd(ownerWindow_, text, dlgType, buttons, helpCtx);
}
