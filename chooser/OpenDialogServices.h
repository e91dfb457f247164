#pragma once

class Prompter;

// What the open dialog asks of others; tests answer its boxes.
struct OpenDialogServices {
    // Where the boxes of the dialog and of its run go; null for the real boxes.
    Prompter* prompter = nullptr;
};
