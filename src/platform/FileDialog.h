// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The file dialog that asks where to save, through one replaceable function, so that tests can
// answer it instead of blocking on a modal dialog.

#include <QString>
#include <functional>

class QWidget;

struct SaveFileRequest
{
    QString title;
    QString suggestedName; // a file name, or a path
    QString filter;        // "PNG picture (*.png)"
};

// The path the user chose, or the empty text when the dialog was cancelled.
using SaveFileHandler = std::function<QString(QWidget *parent, const SaveFileRequest &request)>;

QString askSaveFileName(QWidget *parent, const SaveFileRequest &request);

// Installs a replacement; an empty handler restores the real dialog. Returns the previous one.
SaveFileHandler setSaveFileHandler(SaveFileHandler handler);
