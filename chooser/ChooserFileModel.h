#pragma once

#include <QAbstractFileIconProvider>
#include <QFileSystemModel>

// Icons and type texts for the file list by kind and extension only, cached: a folder of
// 100,000 files costs a few look-ups, and no file is opened to find its type.
class ChooserIconProvider : public QAbstractFileIconProvider {
public:
    ChooserIconProvider();

    QIcon icon(IconType type) const override;
    QIcon icon(const QFileInfo& info) const override;
    QString type(const QFileInfo& info) const override;
};

// The open dialog's file system model: Japanese column captions and the chooser's icons.
// Directories are read by the model's own worker thread, so a huge folder fills in while the
// dialog stays responsive.
class ChooserFileModel : public QFileSystemModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ChooserFileModel)

public:
    explicit ChooserFileModel(QObject* parent);

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
};
