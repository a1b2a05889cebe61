// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every message box of the program goes through one replaceable function, so tests can
// capture the texts instead of blocking on a modal dialog.

#include <QString>
#include <functional>

enum class MessageKind { Information, Warning, Error };

using MessageBoxHandler = std::function<void(MessageKind kind, const QString &text)>;

// Shows a message box with a single OK button (or hands the text to the installed handler).
void showMessage(MessageKind kind, const QString &text);

// Installs a replacement; an empty handler restores the real message box. Returns the
// previous handler.
MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler);
