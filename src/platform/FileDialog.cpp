// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileDialog.h"

#include <QFileDialog>

namespace {
SaveFileHandler &installedHandler()
{
    static SaveFileHandler handler;
    return handler;
}
} // namespace

QString askSaveFileName(QWidget *parent, const SaveFileRequest &request)
{
    if (const auto &handler = installedHandler())
        return handler(parent, request);
    return QFileDialog::getSaveFileName(parent, request.title, request.suggestedName,
                                        request.filter);
}

SaveFileHandler setSaveFileHandler(SaveFileHandler handler)
{
    SaveFileHandler previous = std::move(installedHandler());
    installedHandler() = std::move(handler);
    return previous;
}
