// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Helpers shared by the test programs: reading pixels of pictures, and checking a component's
// published properties (names in declaration order and the values of a new object) against
// one table.

#include "platform/Canvas.h"
#include "platform/Colors.h"

#include <QImage>
#include <QMetaProperty>
#include <QObject>
#include <QStringList>
#include <QVariant>
#include <gtest/gtest.h>
#include <initializer_list>

// ---- pixels ----------------------------------------------------------------------------------

// The RGB value a colour is drawn with (alpha set, as QImage::pixel reports it).
inline QRgb rgbOf(TColor color)
{
    return toQColor(color).rgb();
}

// A pixel's red, green and blue, without alpha.
inline QRgb rgbAt(const QImage &image, int x, int y)
{
    return image.pixel(x, y) & 0xFFFFFFu;
}

inline QRgb rgbAt(const Bitmap &bitmap, int x, int y)
{
    return rgbAt(bitmap.image(), x, y);
}

// A pixel as a colour value.
inline TColor pixelAt(const QImage &image, int x, int y)
{
    return fromQColor(QColor(image.pixel(x, y)));
}

// ---- published properties --------------------------------------------------------------------

// One row of a component's property table: the published name and the value of a new object.
// Rows without a value (object pointers, menus) check the name and the order only.
struct PublishedProperty
{
    const char *name;
    QVariant value = {};
};

// The properties a class declares beyond those of `base` (a base class whose properties are
// left out, e.g. QObject or QWidget), in declaration order.
inline QStringList publishedNamesAfter(const QMetaObject &meta, const QMetaObject &base)
{
    QStringList names;
    for (int i = base.propertyCount(); i < meta.propertyCount(); ++i)
        names << QString::fromLatin1(meta.property(i).name());
    return names;
}

// Checks that object publishes exactly the table's properties after those of `base`, in the
// table's order, and that each row with a value reads that value through the property system.
inline void expectPublishedProperties(const QObject &object, const QMetaObject &base,
                                      std::initializer_list<PublishedProperty> table)
{
    const QMetaObject &meta = *object.metaObject();
    QStringList expected;
    for (const PublishedProperty &row : table)
        expected << QString::fromLatin1(row.name);
    EXPECT_EQ(publishedNamesAfter(meta, base), expected);
    for (const PublishedProperty &row : table) {
        if (!row.value.isValid())
            continue;
        const int index = meta.indexOfProperty(row.name);
        ASSERT_GE(index, 0) << row.name;
        const QVariant actual = meta.property(index).read(&object);
        EXPECT_EQ(actual, row.value) << row.name << ": " << actual.toString().toStdString()
                                     << " instead of " << row.value.toString().toStdString();
    }
}
