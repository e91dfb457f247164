#include "support/ui/MessageBoxes.h"

#include "support/core/Beep.h"
#include "support/core/Cp932.h"
#include "support/core/RegistryLayout.h"
#include "support/core/WinReg.h"
#include "support/ui/DialogPlacement.h"
#include "support/ui/MessageForm.h"

#include <QWidget>

namespace {

void BeepForBox(MsgDlgType dlgType)
{
    const bool quiet = RegReadBool(RegSettingSubKey, RegBeepSound, RegBeepSoundDefault);
    if (!quiet && dlgType == MsgDlgType::mtError)
        MessageBeep();
}

// A new box starts centred on the screen of its owner (the primary screen without one).
void CentreOnScreen(TMessageForm& form, const QWidget* owner)
{
    const QRect screen = ScreenRectAt(owner ? WindowFrameRect(owner) : QRect());
    const QSize size = WindowFrameRect(&form).size();
    form.move(screen.x() + (screen.width() - size.width()) / 2,
              screen.y() + (screen.height() - size.height()) / 2);
}

void MoveTo(TMessageForm& form, int x, int y)
{
    const QPoint pos = form.pos();
    form.move(x >= 0 ? x : pos.x(), y >= 0 ? y : pos.y());
}

// Centred on the screen, then centred over the owner, then moved to x and y where given.
void PlaceOverOwner(TMessageForm& form, QWidget* owner, int x, int y)
{
    CentreOnScreen(form, owner);
    if (owner)
        CalcDialogPos(dpCentred, owner, &form, x, y);
    MoveTo(form, x, y);
}

enum class Placement { OffTaskbar, OnScreen };

int RunBox(QWidget* owner, const QString& text, MsgDlgType dlgType, MsgDlgButtons buttons,
           int helpCtx, int x, int y, Placement placement)
{
    TMessageForm form(text, dlgType, buttons, WindowOf(owner));
    form.SetHelpContext(helpCtx);
    PlaceOverOwner(form, owner, x, y);
    if (placement == Placement::OffTaskbar)
        KeepOffTaskbar(&form);
    return form.exec();
}

}  // namespace

QWidget* WindowOf(QWidget* owner)
{
    return owner ? owner->window() : nullptr;
}

int ExecOverOwner(TMessageForm& form, QWidget* owner)
{
    PlaceOverOwner(form, owner, -1, -1);
    KeepOffTaskbar(&form);
    return form.exec();
}

int ShowMessageDlg(QWidget* owner, const std::string& msg, MsgDlgType dlgType,
                   MsgDlgButtons buttons, int helpCtx)
{
    BeepForBox(dlgType);
    return MessageDlgOnForm(owner, msg, dlgType, buttons, helpCtx, -1, -1);
}

int ShowMessageDlgWnd(QWidget* ownerWindow, const std::string& msg, MsgDlgType dlgType,
                      MsgDlgButtons buttons, int helpCtx)
{
    BeepForBox(dlgType);
    return MessageDlgOnWindow(ownerWindow, msg, dlgType, buttons, helpCtx, -1, -1);
}

int MessageDlgOnForm(QWidget* owner, const std::string& msg, MsgDlgType dlgType,
                     MsgDlgButtons buttons, int helpCtx, int x, int y)
{
    return RunBox(owner, Cp932ToDisplay(msg), dlgType, buttons, helpCtx, x, y, Placement::OffTaskbar);
}

int MessageDlgOnWindow(QWidget* ownerWindow, const std::string& msg, MsgDlgType dlgType,
                       MsgDlgButtons buttons, int helpCtx, int x, int y)
{
    return RunBox(ownerWindow, Cp932ToDisplay(msg), dlgType, buttons, helpCtx, x, y, Placement::OnScreen);
}

int ShowMessageTextDlg(QWidget* owner, const QString& text, MsgDlgType dlgType, MsgDlgButtons buttons,
                   int helpCtx)
{
    BeepForBox(dlgType);
    return RunBox(owner, text, dlgType, buttons, helpCtx, -1, -1, Placement::OffTaskbar);
}

int ShowMessageTextWnd(QWidget* ownerWindow, const QString& text, MsgDlgType dlgType,
                      MsgDlgButtons buttons, int helpCtx)
{
    BeepForBox(dlgType);
    return RunBox(ownerWindow, text, dlgType, buttons, helpCtx, -1, -1, Placement::OnScreen);
}
