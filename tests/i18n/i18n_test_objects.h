// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small components for the translation walk: a string list, a collection of items, a
// property named Name, a read-only text and a font that the walk must leave alone; and a
// readable form of texts for failure messages.

#include "platform/Fonts.h"

#include <QObject>
#include <QStringList>
#include <ostream>

// Readable texts in failure messages.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

class TTestItem : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString Title READ Title WRITE SetTitle)
public:
    using QObject::QObject;
    QString Title() const { return m_title; }
    void SetTitle(const QString &title) { m_title = title; }

private:
    QString m_title;
};

class TTestComponent : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_PROPERTY(QString Fixed READ Fixed)
    Q_PROPERTY(QStringList Lines READ Lines WRITE SetLines)
    Q_PROPERTY(QObjectList Items READ Items)
    Q_PROPERTY(TFont *Font READ Font)
    Q_PROPERTY(TTestItem *Other READ Other)
public:
    explicit TTestComponent(QObject *parent = nullptr)
        : QObject(parent), m_font(new TFont(this)), m_other(new TTestItem(this))
    {
    }
    QString Name() const { return m_name; }
    void SetName(const QString &name) { m_name = name; }
    QString Hint() const { return m_hint; }
    void SetHint(const QString &hint) { m_hint = hint; }
    QString Fixed() const { return QStringLiteral("BF_fixed"); }
    QStringList Lines() const { return m_lines; }
    void SetLines(const QStringList &lines)
    {
        m_lines = lines;
        ++linesWritten;
    }
    QObjectList Items() const { return m_items; }
    TFont *Font() const { return m_font; }
    TTestItem *Other() const { return m_other; }

    QObjectList m_items;
    int linesWritten = 0;

private:
    QString m_name;
    QString m_hint;
    QStringList m_lines;
    TFont *m_font;
    TTestItem *m_other;
};
