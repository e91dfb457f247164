#pragma once

#include <QString>

#include <cstdint>
#include <string>

// What a message box is asked to show and what it answers. The boxes themselves live in
// the user interface; code without widgets asks its questions through a Prompter.

enum class MsgDlgType : std::uint8_t {
    mtWarning = 0,
    mtError = 1,
    mtInformation = 2,
    mtConfirmation = 3,
    mtCustom = 4,
};

// A set of buttons: bit n is the button of row n, shown left to right in bit order.
using MsgDlgButtons = std::uint16_t;

inline constexpr MsgDlgButtons mbYes = 1 << 0;
inline constexpr MsgDlgButtons mbNo = 1 << 1;
inline constexpr MsgDlgButtons mbOK = 1 << 2;
inline constexpr MsgDlgButtons mbCancel = 1 << 3;
inline constexpr MsgDlgButtons mbAbort = 1 << 4;
inline constexpr MsgDlgButtons mbRetry = 1 << 5;
inline constexpr MsgDlgButtons mbIgnore = 1 << 6;
inline constexpr MsgDlgButtons mbAll = 1 << 7;
inline constexpr MsgDlgButtons mbNoToAll = 1 << 8;
inline constexpr MsgDlgButtons mbYesToAll = 1 << 9;
inline constexpr MsgDlgButtons mbHelp = 1 << 10;

// Not a button: makes No the default button of a box that has one, for a question whose
// Yes gives something up.
inline constexpr MsgDlgButtons mbDefaultNo = 1 << 15;

inline constexpr MsgDlgButtons mbOKOnly = mbOK;
inline constexpr MsgDlgButtons mbYesNo = mbYes | mbNo;
inline constexpr MsgDlgButtons mbYesNoCancel = mbYes | mbNo | mbCancel;

// Result codes of a box; the close box gives mrCancel.
inline constexpr int mrNone = 0;
inline constexpr int mrOk = 1;
inline constexpr int mrCancel = 2;
inline constexpr int mrAbort = 3;
inline constexpr int mrRetry = 4;
inline constexpr int mrIgnore = 5;
inline constexpr int mrYes = 6;
inline constexpr int mrNo = 7;
inline constexpr int mrAll = 8;
inline constexpr int mrNoToAll = 9;
inline constexpr int mrYesToAll = 10;

// Shows a message box on behalf of some owner and gives its result code. The window's
// implementation owns a window and follows every rule of the program's boxes (beep, title,
// icon, placement); the command-line tool prints; tests answer from a script.
class Prompter {
public:
    virtual ~Prompter() = default;

    // Msg is code page 932 text; LF separates lines.
    virtual int ShowMessageDlg(const std::string& msg, MsgDlgType dlgType, MsgDlgButtons buttons,
                               int helpCtx)
        = 0;

    // The same box for a text that may hold characters with no code page 932 form, such as
    // the names of the host's files that the program refuses: the boxes on the screen show
    // it as it is. A Prompter that takes only code page 932 text gets "?" for each such
    // character.
    virtual int ShowMessageText(const QString& text, MsgDlgType dlgType, MsgDlgButtons buttons,
                                int helpCtx);
};
