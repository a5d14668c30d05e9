#include "app/FileDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace korvel {

namespace {

FileDialogRequest request(FileDialogRequest::Kind kind, const QString& filter, const QString& suffix)
{
    FileDialogRequest r;
    r.kind = kind;
    r.filter = filter;
    r.defaultSuffix = suffix;
    return r;
}

}  // namespace

FileDialogRequest SaveDlg()
{
    const QString csv = QStringLiteral("Таблица CSV (*.csv)");
    const QString npy = QStringLiteral("Массив NumPy (*.npy)");
    const QString wav = QStringLiteral("Звук WAV (*.wav)");
    FileDialogRequest r = request(
        FileDialogRequest::Kind::Save,
        QStringLiteral("ADC files (*.dtw);;Save to Text file (*.txt);;All files (*.*)"),
        QStringLiteral("dtw"));
    r.filter += QStringLiteral(";;") + QStringList{csv, npy, wav}.join(QStringLiteral(";;"));
    r.filterSuffixes = {{csv, QStringLiteral("csv")}, {npy, QStringLiteral("npy")},
                        {wav, QStringLiteral("wav")}};
    return r;
}

FileDialogRequest OpenDlg()
{
    return request(FileDialogRequest::Kind::Open,
                   QStringLiteral("ADC files (*.dtw);;All files (*.*)"), QStringLiteral("dtw"));
}

FileDialogRequest PdfDlg()
{
    FileDialogRequest r = request(FileDialogRequest::Kind::Save, QStringLiteral("PDF (*.pdf)"),
                                  QStringLiteral("pdf"));
    // The user asked to print: the title says why a file is asked for.
    r.title = QStringLiteral("Принтер не установлен: печать в файл PDF");
    return r;
}

FileDialogRequest FolderDlg()
{
    // The data files show (they cannot be chosen), so that the user sees which folder holds them.
    FileDialogRequest r = request(FileDialogRequest::Kind::Folder,
                                  QStringLiteral("ADC files (*.dtw)"), QString());
    r.title = QStringLiteral("Папка с файлами данных");
    return r;
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
    if (path.isEmpty())
        return;
    const QFileInfo chosen(path);
    lastFolder_ = chosen.isDir() ? chosen.absoluteFilePath() : chosen.absolutePath();
}

QString WidgetFileDialogs::ask(const FileDialogRequest& request)
{
    // An existing folder: QFileDialog would take the last part of a missing one as the name.
    QFileDialog dialog(parent_, request.title, request.folder, request.filter);
    switch (request.kind) {
    case FileDialogRequest::Kind::Folder:
        dialog.setFileMode(QFileDialog::Directory);
        break;
    case FileDialogRequest::Kind::Open:
        dialog.setFileMode(QFileDialog::ExistingFile);
        break;
    case FileDialogRequest::Kind::Save:
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        break;
    }
    dialog.setDefaultSuffix(request.defaultSuffix);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& filter) {
        dialog.setDefaultSuffix(request.filterSuffixes.value(filter, request.defaultSuffix));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

}  // namespace korvel
