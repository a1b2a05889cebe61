// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ScreenCursors.h"

#include <QGuiApplication>
#include <map>
#include <optional>

namespace Screen {

namespace {

struct Entry
{
    QString name;
    std::function<QCursor()> make;
    std::optional<QCursor> built;
};

std::map<int, Entry> &registry()
{
    static std::map<int, Entry> entries;
    return entries;
}

// The number set as application cursor, and whether this table has an override cursor on
// the application's stack for it.
int s_applicationCursor = crDefault;
bool s_overriding = false;

std::optional<Qt::CursorShape> standardShape(int number)
{
    switch (number) {
    case crDefault:
    case crArrow:
        return Qt::ArrowCursor;
    case crNone:
        return Qt::BlankCursor;
    case crCross:
        return Qt::CrossCursor;
    case crIBeam:
        return Qt::IBeamCursor;
    case crSizeNESW:
        return Qt::SizeBDiagCursor;
    case crSizeNS:
        return Qt::SizeVerCursor;
    case crSizeNWSE:
        return Qt::SizeFDiagCursor;
    case crSizeWE:
        return Qt::SizeHorCursor;
    case crUpArrow:
        return Qt::UpArrowCursor;
    case crHourGlass:
        return Qt::WaitCursor;
    case crNo:
        return Qt::ForbiddenCursor;
    case crHelp:
        return Qt::WhatsThisCursor;
    case crHandPoint:
        return Qt::PointingHandCursor;
    case crSizeAll:
        return Qt::SizeAllCursor;
    default:
        return std::nullopt;
    }
}

} // namespace

bool registerCursor(int number, const QString &name, std::function<QCursor()> make)
{
    if (number <= 0 || !make)
        return false;
    Entry &entry = registry()[number];
    if (entry.name == name && entry.make)
        return true;
    entry.name = name;
    entry.make = std::move(make);
    entry.built.reset();
    return true;
}

bool hasCursor(int number)
{
    return standardShape(number).has_value() || registry().count(number) > 0;
}

QString cursorName(int number)
{
    const auto it = registry().find(number);
    return it == registry().end() ? QString() : it->second.name;
}

QCursor cursor(int number)
{
    if (const auto shape = standardShape(number))
        return QCursor(*shape);
    const auto it = registry().find(number);
    if (it == registry().end() || !qGuiApp)
        return QCursor(Qt::ArrowCursor);
    Entry &entry = it->second;
    if (!entry.built)
        entry.built = entry.make();
    return *entry.built;
}

int applicationCursor()
{
    return s_applicationCursor;
}

void setApplicationCursor(int number)
{
    if (number == s_applicationCursor || !qGuiApp)
        return;
    s_applicationCursor = number;
    if (number == crDefault) {
        if (s_overriding)
            QGuiApplication::restoreOverrideCursor();
        s_overriding = false;
        return;
    }
    const QCursor shape = cursor(number);
    if (s_overriding) {
        QGuiApplication::changeOverrideCursor(shape);
    } else {
        QGuiApplication::setOverrideCursor(shape);
        s_overriding = true;
    }
}

} // namespace Screen
