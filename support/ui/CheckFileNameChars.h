#pragma once

#include <string_view>

class QWidget;

// True when name holds none of \ / : , ; * ? " < > |; otherwise shows the error box for
// the first of them over owner and gives false.
bool CheckFileNameChars(QWidget* owner, std::string_view name);
