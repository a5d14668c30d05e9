// The open button's list of recent data files, and data files dropped on the window: both
// open a file as the open button opens the one chosen in its dialog.
#include "app/MainWindow.h"

#include "app/EventHook.h"
#include "ui_MainWindow.h"

#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

namespace korvel {

namespace {

// The data file a drag carries: one local file named *.dtw, as the open dialog lists them.
QString draggedDataFile(const QMimeData* mime)
{
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1)
        return {};
    const QUrl url = mime->urls().first();
    if (!url.isLocalFile())
        return {};
    const QString path = url.toLocalFile();
    return path.endsWith(QStringLiteral(".dtw"), Qt::CaseInsensitive) ? path : QString();
}

}  // namespace

void MainWindow::wireRecentFiles()
{
    QToolButton* open = ui->btLoadFile;
    recentMenu_ = new QMenu(open);
    recentMenu_->setObjectName(QStringLiteral("recentMenu"));
    open->setMenu(recentMenu_);
    // A click opens the dialog as before; holding the button (or its right button) opens the
    // list, and the button keeps its place and size in the tool bar.
    open->setPopupMode(QToolButton::DelayedPopup);
    open->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(open, &QWidget::customContextMenuRequested, this,
            [this, open](const QPoint& p) { recentMenu_->popup(open->mapToGlobal(p)); });
    connect(recentMenu_, &QMenu::aboutToShow, this, [this] {
        recentMenu_->clear();
        for (const QString& path : recentFiles_) {
            if (path.isEmpty())
                continue;
            QAction* item = recentMenu_->addAction(QDir::toNativeSeparators(path));
            connect(item, &QAction::triggered, this, [this, path] { openRecentFile(path); });
        }
        if (recentMenu_->isEmpty())
            recentMenu_->addAction(QStringLiteral("Нет недавних файлов"))->setEnabled(false);
    });

    // Drops land on whichever widget is under the mouse; the text boxes would take a file's
    // name as text, so every widget that takes drops hands a data file to the window first.
    setAcceptDrops(true);
    const auto takeDataFiles = [this](QEvent* e) {
        switch (e->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* d = static_cast<QDropEvent*>(e);
            if (draggedDataFile(d->mimeData()).isEmpty())
                return false;
            d->acceptProposedAction();
            return true;
        }
        case QEvent::Drop: {
            auto* d = static_cast<QDropEvent*>(e);
            const QString path = draggedDataFile(d->mimeData());
            if (path.isEmpty())
                return false;
            d->acceptProposedAction();
            openDataFile(path);
            return true;
        }
        default:
            return false;
        }
    };
    new EventHook(this, takeDataFiles);
    for (QWidget* w : findChildren<QWidget*>())
        if (w->acceptDrops())
            new EventHook(w, takeDataFiles);
}

void MainWindow::rememberRecentFile(const QString& path)
{
    recentFiles_ = WithRecentFile(recentFiles_, QFileInfo(path).absoluteFilePath());
}

void MainWindow::openRecentFile(const QString& path)
{
    // The loader says why a file cannot be read, a missing one included.
    if (!openDataFile(path) && !QFileInfo::exists(path))
        recentFiles_ = WithoutRecentFile(recentFiles_, path);
}

}  // namespace korvel
