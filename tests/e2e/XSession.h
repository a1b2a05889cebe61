// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A real X session for end-to-end tests: Xvfb on a free display with its screen kept in a file
// (so a screenshot is a read of that file), a window manager that draws title bars with a
// close box, and xdotool for real input. Nothing is started when a tool is missing or the
// server cannot start; reason() then says why, and the tests skip.

#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QRect>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

#include <functional>
#include <memory>

class XSession
{
public:
    XSession();
    ~XSession();
    XSession(const XSession &) = delete;
    XSession &operator=(const XSession &) = delete;

    bool running() const { return m_reason.isEmpty(); }
    const QString &reason() const { return m_reason; }
    const QString &display() const { return m_display; }

    // The environment of a program on this display: its own link folder (0700) and registry
    // file in the session's folder, English texts, the xcb platform.
    QProcessEnvironment environment() const;

    // Runs xdotool with the arguments; its standard output, trimmed (empty on failure).
    QString xdotool(const QStringList &arguments) const;
    // The visible windows of a process (ids as xdotool gives them).
    QStringList windowsOf(qint64 pid) const;
    QString windowName(const QString &window) const;
    // The window's client area on the screen.
    QRect geometry(const QString &window) const;

    // The whole screen as it is now.
    QImage screenshot() const;

    // Polls until the condition holds or timeoutMs passed; true when it held. The wait is a
    // guard against a hang, not a measurement.
    static bool waitFor(const std::function<bool()> &condition, int timeoutMs = 30000);

private:
    bool start();

    QTemporaryDir m_dir;
    QString m_reason;
    QString m_display;
    QProcess m_server;
    QProcess m_windowManager;
};
