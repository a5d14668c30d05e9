#include "app/FileDialogs.h"

#include <QDir>
#include <QFileDialog>

namespace korvel {

namespace {

// Data files live in "DataVib" under the folder the program was started in.
QString dataFolder()
{
    return QDir::current().filePath(QStringLiteral("DataVib"));
}

}  // namespace

FileDialogRequest SaveDlg()
{
    return {FileDialogRequest::Kind::Save,
            QStringLiteral("ADC files (*.dtw);;Save to Text file (*.txt);;All files (*.*)"),
            QStringLiteral("dtw"), dataFolder()};
}

FileDialogRequest OpenDlg()
{
    return {FileDialogRequest::Kind::Open, QStringLiteral("ADC files (*.dtw);;All files (*.*)"),
            QStringLiteral("dtw"), dataFolder()};
}

QString WidgetFileDialogs::fileName(const FileDialogRequest& request)
{
    const bool save = request.kind == FileDialogRequest::Kind::Save;
    QFileDialog dialog(parent_, QString(), request.folder, request.filter);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

}  // namespace korvel
