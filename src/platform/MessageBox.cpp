// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/MessageBox.h"

#include <QApplication>
#include <QMessageBox>

namespace {
MessageBoxHandler &installedHandler()
{
    static MessageBoxHandler handler;
    return handler;
}
} // namespace

void showMessage(MessageKind kind, const QString &text)
{
    if (const auto &handler = installedHandler()) {
        handler(kind, text);
        return;
    }
    const QString title = QApplication::applicationDisplayName();
    switch (kind) {
    case MessageKind::Information:
        QMessageBox::information(nullptr, title, text);
        break;
    case MessageKind::Warning:
        QMessageBox::warning(nullptr, title, text);
        break;
    case MessageKind::Error:
        QMessageBox::critical(nullptr, title, text);
        break;
    }
}

MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler)
{
    MessageBoxHandler previous = std::move(installedHandler());
    installedHandler() = std::move(handler);
    return previous;
}
