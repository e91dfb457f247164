#pragma once

// Qt's own texts (the context menu of a text box: 元に戻す, コピー, 貼り付け...; the standard
// dialogs and buttons) in the interface's language, from the translations installed with Qt.
// Without them those texts stay English in a Japanese interface.

// Installs Qt's translations of the interface language in the application; false when they
// are not installed (the texts then stay as Qt has them).
bool LoadQtTranslations();
