// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The application object: an exception that escapes an event handler is shown in a message
// box and the program goes on, instead of tearing the process down.

#include <QApplication>

class ZelApplication : public QApplication
{
public:
    ZelApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};
