#include "app/FileDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace korvel {

FileDialogRequest SaveDlg()
{
    return {FileDialogRequest::Kind::Save,
            QStringLiteral("ADC files (*.dtw);;Save to Text file (*.txt);;All files (*.*)"),
            QStringLiteral("dtw"), QString()};
}

FileDialogRequest OpenDlg()
{
    return {FileDialogRequest::Kind::Open, QStringLiteral("ADC files (*.dtw);;All files (*.*)"),
            QStringLiteral("dtw"), QString()};
}

QString DialogStartFolder(const QString& lastFolder)
{
    // A folder deleted since it was chosen counts as none.
    const QString base = QFileInfo(lastFolder).isDir() ? lastFolder : QDir::currentPath();
    const QString dataVib = QDir(base).filePath(QStringLiteral("DataVib"));
    return QFileInfo(dataVib).isDir() ? dataVib : base;
}

QString FileDialogs::fileName(FileDialogRequest request)
{
    request.folder = DialogStartFolder(lastFolder_);
    const QString chosen = ask(request);
    remember(chosen);
    return chosen;
}

void FileDialogs::remember(const QString& path)
{
    if (!path.isEmpty())
        lastFolder_ = QFileInfo(path).absolutePath();
}

QString WidgetFileDialogs::ask(const FileDialogRequest& request)
{
    const bool save = request.kind == FileDialogRequest::Kind::Save;
    // An existing folder: QFileDialog would take the last part of a missing one as the name.
    QFileDialog dialog(parent_, QString(), request.folder, request.filter);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

}  // namespace korvel
