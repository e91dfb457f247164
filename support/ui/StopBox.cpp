#include "support/ui/StopBox.h"

#include "support/core/Beep.h"
#include "support/core/BuildInfo.h"
#include "support/core/Cp932.h"
#include "support/ui/MessageBoxes.h"
#include "support/ui/MessageForm.h"

#include <utility>

namespace {

StopBoxHandler& Handler()
{
    static StopBoxHandler handler;
    return handler;
}

void ShowRealStopBox(QWidget* owner, const std::string& text)
{
    MessageBeep();
    TMessageForm form(Cp932ToDisplay(text), MsgDlgType::mtError, mbOK, WindowOf(owner));
    form.setWindowTitle(QString::fromLatin1(ApplicationTitle));
    ExecOverOwner(form, owner);
}

}  // namespace

std::string StopBoxText(const std::string& message)
{
    // The last character sorts after "." exactly when its last byte does: a double-byte
    // character has a lead byte of 0x81 or more and a trail byte of 0x40 or more. A message
    // of several lines lists names under its sentence: a period after the last name would
    // read as part of that name.
    if (message.empty() || static_cast<unsigned char>(message.back()) <= '.'
        || message.find_first_of("\r\n") != std::string::npos)
        return message;
    return message + '.';
}

void ShowStopBox(QWidget* owner, const std::string& message)
{
    const std::string text = StopBoxText(message);
    if (Handler())
        Handler()(owner, text);
    else
        ShowRealStopBox(owner, text);
}

StopBoxHandler SetStopBoxHandler(StopBoxHandler handler)
{
    return std::exchange(Handler(), std::move(handler));
}

std::string UnknownErrorMessage()
{
    return Cp932Text("予期しないエラーが発生しました");
}
