#pragma once
// A data file put in front of the window the way a user opens one: written by the program's own
// writer, then picked in the open dialog of btLoadFile.

#include "app/FileDialogs.h"
#include "app/MainWindow.h"
#include "support/RecordToSave.h"
#include "ui_MainWindow.h"

#include <QFile>
#include <gtest/gtest.h>
#include <memory>

namespace korvel::testing {

// The file goes to path; the window's file dialogs are replaced by one that answers with it.
inline void openDataFile(MainWindow& window, const QString& path, const RecordToSave& file = {})
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(file.build().output->bytes);
    f.close();
    auto dialogs = std::make_shared<ScriptedFileDialogs>();
    dialogs->answers << path;
    window.setFileDialogs(dialogs);
    window.form()->btLoadFile->click();
}

}  // namespace korvel::testing
