// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Application.h"

#include "platform/MessageBox.h"

#include <exception>

ZelApplication::ZelApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool ZelApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        showMessage(MessageKind::Error, QString::fromLocal8Bit(e.what()));
    } catch (...) {
        showMessage(MessageKind::Error, QStringLiteral("Unknown error"));
    }
    return false;
}
