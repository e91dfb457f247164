#pragma once

#include <QObject>

#include <functional>

class QMimeData;
class QWidget;

// Lets a widget (a list's viewport) take files and folders dragged from a file manager:
// a drag that carries file URLs is accepted as a copy, and the drop's data is handed to
// the handler through the program's command wrapper once the drop has returned. The target
// belongs to the widget.
class FileDropTarget : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FileDropTarget)

public:
    using Handler = std::function<void(const QMimeData& data)>;

    FileDropTarget(QWidget* widget, Handler handler);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* widget_;
    Handler handler_;
};
