#pragma once

#include <QString>
#include <QWidget>

class QTextBrowser;

// The program's help: the help file "TESSNA.HLP", an HTML document beside the program or in
// its installed data folder, shown in a window of the program. Each top-level window of the program has at most one
// viewer, found through HelpViewer::Of; dialogs owned by the main window use the main
// window's viewer. Context numbers are anchors of the document.
class HelpViewer : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HelpViewer)

public:
    // The viewer of owner's outermost window, made on first use with the default help file;
    // while owner's window is a running modal dialog, the dialog's own viewer, with the
    // outermost window's help file.
    static HelpViewer* Of(QWidget* owner);

    // The help file beside the running executable, else the installed one (FindHelpFile).
    static QString DefaultHelpFile();

    const QString& HelpFile() const { return helpFile_; }
    void SetHelpFile(const QString& helpFile) { helpFile_ = helpFile; }

    // Opens the help file on its contents, at its beginning.
    void ShowContents();
    // Opens the help file at a context number; an unknown number shows the contents.
    void ShowContext(int context);
    // The viewer closes; the next request opens it again.
    void Quit();

    // What the viewer shows: the document, or the report that the file is missing.
    QTextBrowser* Browser() const { return browser_; }

private:
    explicit HelpViewer(QWidget* owner);

    bool LoadHelpFile();
    void Present();

    QTextBrowser* browser_ = nullptr;
    QString helpFile_;
};
