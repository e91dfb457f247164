#include "support/core/MessageDlg.h"

#include "support/core/Cp932.h"

int Prompter::ShowMessageText(const QString& text, MsgDlgType dlgType, MsgDlgButtons buttons,
                              int helpCtx)
{
    return ShowMessageDlg(Cp932ForMessage(text), dlgType, buttons, helpCtx);
}
