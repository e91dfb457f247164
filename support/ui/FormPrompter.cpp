#include "support/ui/FormPrompter.h"

#include "support/ui/MessageBoxes.h"

int FormPrompter::ShowMessageDlg(const std::string& msg, MsgDlgType dlgType,
                                 MsgDlgButtons buttons, int helpCtx)
{
    return ::ShowMessageDlg(owner_, msg, dlgType, buttons, helpCtx);
}

int FormPrompter::ShowMessageText(const QString& text, MsgDlgType dlgType, MsgDlgButtons buttons,
                                  int helpCtx)
{
    return ShowMessageTextDlg(owner_, text, dlgType, buttons, helpCtx);
}
