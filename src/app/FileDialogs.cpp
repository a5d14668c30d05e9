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
    const QString csv = QStringLiteral("Таблица CSV (*.csv)");
    const QString npy = QStringLiteral("Массив NumPy (*.npy)");
    const QString wav = QStringLiteral("Звук WAV (*.wav)");
    FileDialogRequest r;
    r.kind = FileDialogRequest::Kind::Save;
    r.filter = QStringLiteral("ADC files (*.dtw);;Save to Text file (*.txt);;All files (*.*)");
    r.filter += QStringLiteral(";;") + QStringList{csv, npy, wav}.join(QStringLiteral(";;"));
    r.defaultSuffix = QStringLiteral("dtw");
    r.folder = dataFolder();
    r.filterSuffixes = {{csv, QStringLiteral("csv")}, {npy, QStringLiteral("npy")},
                        {wav, QStringLiteral("wav")}};
    return r;
}

FileDialogRequest OpenDlg()
{
    FileDialogRequest r;
    r.filter = QStringLiteral("ADC files (*.dtw);;All files (*.*)");
    r.defaultSuffix = QStringLiteral("dtw");
    r.folder = dataFolder();
    return r;
}

QString WidgetFileDialogs::fileName(const FileDialogRequest& request)
{
    const bool save = request.kind == FileDialogRequest::Kind::Save;
    QFileDialog dialog(parent_, QString(), request.folder, request.filter);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(request.defaultSuffix);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& filter) {
        dialog.setDefaultSuffix(request.filterSuffixes.value(filter, request.defaultSuffix));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

}  // namespace korvel
