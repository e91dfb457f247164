#include "support/core/MessageDlg.h"

#include "support/core/Cp932.h"

#include <QList>

int Prompter::ShowMessageText(const QString& text, MsgDlgType dlgType, MsgDlgButtons buttons,
                              int helpCtx)
{
    std::string msg;
    for (const char32_t code : text.toUcs4())
        msg += QStringToCp932(QString::fromUcs4(&code, 1)).value_or("?");
    return ShowMessageDlg(msg, dlgType, buttons, helpCtx);
}
