// SPDX-License-Identifier: GPL-3.0-or-later
#include "XSession.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QtEndian>

namespace {

constexpr int ScreenWidth = 1280;
constexpr int ScreenHeight = 1024;

// The header of an XWD file (what Xvfb keeps its screen in): big-endian 32-bit words.
quint32 headerWord(const QByteArray &file, int index)
{
    return qFromBigEndian<quint32>(file.constData() + 4 * index);
}

// The window manager's settings: a fixed theme with the close box at the right of the title.
const char openboxConfig[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <focus><focusNew>yes</focusNew><followMouse>no</followMouse></focus>
  <placement><policy>Smart</policy></placement>
  <theme><name>Clearlooks</name><titleLayout>NLIMC</titleLayout><keepBorder>yes</keepBorder>
    <animateIconify>no</animateIconify></theme>
  <desktops><number>1</number></desktops>
</openbox_config>
)";

} // namespace

XSession::XSession()
{
    if (!start()) {
        m_windowManager.kill();
        m_server.kill();
        m_windowManager.waitForFinished(5000);
        m_server.waitForFinished(5000);
    }
}

XSession::~XSession()
{
    for (QProcess *process : {&m_windowManager, &m_server}) {
        if (process->state() != QProcess::NotRunning) {
            process->terminate();
            if (!process->waitForFinished(5000)) {
                process->kill();
                process->waitForFinished(5000);
            }
        }
    }
}

bool XSession::start()
{
    for (const char *tool : {"Xvfb", "xdotool", "openbox"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
            m_reason = QStringLiteral("%1 is not installed (scripts/test installs it)").arg(tool);
            return false;
        }
    }
    if (!m_dir.isValid()) {
        m_reason = QStringLiteral("no temporary folder");
        return false;
    }
    // The server picks a free display itself and writes its number to our standard output.
    m_server.setProgram(QStringLiteral("Xvfb"));
    m_server.setArguments({QStringLiteral("-displayfd"), QStringLiteral("1"),
                           QStringLiteral("-screen"), QStringLiteral("0"),
                           QStringLiteral("%1x%2x24").arg(ScreenWidth).arg(ScreenHeight),
                           QStringLiteral("-dpi"), QStringLiteral("96"), QStringLiteral("-fbdir"),
                           m_dir.path(), QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    m_server.start();
    QByteArray number;
    const bool announced = waitFor(
        [&] {
            m_server.waitForReadyRead(100);
            number += m_server.readAllStandardOutput();
            return number.endsWith('\n') || m_server.state() == QProcess::NotRunning;
        },
        30000);
    if (!announced || !number.endsWith('\n')) {
        m_reason = QStringLiteral("Xvfb did not start: %1")
                       .arg(QString::fromLocal8Bit(m_server.readAllStandardError()).trimmed());
        return false;
    }
    m_display = QLatin1Char(':') + QString::fromLatin1(number.trimmed());

    QDir(m_dir.path()).mkpath(QStringLiteral("home"));
    QDir(m_dir.path()).mkpath(QStringLiteral("run"));
    QFile::setPermissions(m_dir.filePath(QStringLiteral("run")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile config(m_dir.filePath(QStringLiteral("openbox.xml")));
    if (!config.open(QIODevice::WriteOnly) || config.write(openboxConfig) < 0) {
        m_reason = QStringLiteral("cannot write the window manager's settings");
        return false;
    }
    config.close();
    QProcessEnvironment env = environment();
    m_windowManager.setProcessEnvironment(env);
    m_windowManager.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_windowManager.start(QStringLiteral("openbox"),
                          {QStringLiteral("--config-file"), config.fileName()});
    // The window manager is there once it answers the desktop questions of xdotool.
    if (!waitFor([&] { return !xdotool({QStringLiteral("get_num_desktops")}).isEmpty(); })) {
        m_reason = QStringLiteral("the window manager did not start");
        return false;
    }
    return true;
}

QProcessEnvironment XSession::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("HOME"), m_dir.filePath(QStringLiteral("home")));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("home")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir.filePath(QStringLiteral("run")));
    env.insert(QStringLiteral("QUILLON_REGISTRY"), m_dir.filePath(QStringLiteral("registry.ini")));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("SESSION_MANAGER"));
    return env;
}

QString XSession::xdotool(const QStringList &arguments) const
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    process.setProcessEnvironment(env);
    process.start(QStringLiteral("xdotool"), arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QString();
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

QStringList XSession::windowsOf(qint64 pid) const
{
    return xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                    QStringLiteral("--pid"), QString::number(pid)})
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QString XSession::windowName(const QString &window) const
{
    return xdotool({QStringLiteral("getwindowname"), window});
}

QRect XSession::geometry(const QString &window) const
{
    const QStringList lines =
        xdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window})
            .split(QLatin1Char('\n'));
    int values[4] = {0, 0, 0, 0};
    const char *names[4] = {"X=", "Y=", "WIDTH=", "HEIGHT="};
    for (const QString &line : lines)
        for (int i = 0; i < 4; ++i)
            if (line.startsWith(QLatin1String(names[i])))
                values[i] = line.mid(int(qstrlen(names[i]))).toInt();
    return QRect(values[0], values[1], values[2], values[3]);
}

QImage XSession::screenshot() const
{
    QFile file(m_dir.filePath(QStringLiteral("Xvfb_screen0")));
    if (!file.open(QIODevice::ReadOnly))
        return QImage();
    const QByteArray bytes = file.readAll();
    if (bytes.size() < 100)
        return QImage();
    const quint32 headerSize = headerWord(bytes, 0);
    const int width = int(headerWord(bytes, 4));
    const int height = int(headerWord(bytes, 5));
    const bool lsbFirst = headerWord(bytes, 7) == 0;
    const int bitsPerPixel = int(headerWord(bytes, 11));
    const int bytesPerLine = int(headerWord(bytes, 12));
    const quint32 colours = headerWord(bytes, 19);
    const qint64 start = qint64(headerSize) + qint64(colours) * 12;
    if (bitsPerPixel != 32 || start + qint64(bytesPerLine) * height > bytes.size())
        return QImage();
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        const uchar *row =
            reinterpret_cast<const uchar *>(bytes.constData()) + start + qint64(y) * bytesPerLine;
        QRgb *out = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const uchar *p = row + 4 * x;
            out[x] = lsbFirst ? qRgb(p[2], p[1], p[0]) : qRgb(p[1], p[2], p[3]);
        }
    }
    return image;
}

bool XSession::waitFor(const std::function<bool()> &condition, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(50);
    }
    return true;
}
