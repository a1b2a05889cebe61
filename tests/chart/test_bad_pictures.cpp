// SPDX-License-Identifier: GPL-3.0-or-later
// A chart's background picture that is not a picture: a text, an empty file, a cut-off file,
// a header that claims a huge image, a folder, a device. The chart draws its plain background
// and forgets the name, as for a missing file.

#include "chart/Zel_rchart.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

// A PNG signature and a header chunk for a width x height image, and no image data.
QByteArray pngHeaderOnly(quint32 width, quint32 height)
{
    QByteArray bytes("\x89PNG\r\n\x1a\n", 8);
    QByteArray chunk("IHDR");
    chunk.append(reinterpret_cast<const char *>(&(width = qToBigEndian(width))), 4);
    chunk.append(reinterpret_cast<const char *>(&(height = qToBigEndian(height))), 4);
    chunk.append("\x08\x02\x00\x00\x00", 5);
    const quint32 length = qToBigEndian(quint32(13));
    bytes.append(reinterpret_cast<const char *>(&length), 4);
    bytes.append(chunk);
    bytes.append(4, '\0'); // a wrong checksum, as a damaged file has
    return bytes;
}

} // namespace

TEST(BackgroundPicture, WhatIsNoPictureDrawsThePlainBackgroundAndIsForgotten)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage good(4, 4, QImage::Format_RGB32);
    good.fill(Qt::red);
    QByteArray goodBytes;
    {
        QFile f(dir.filePath("good.png"));
        ASSERT_TRUE(good.save(&f, "PNG"));
    }
    QFile goodFile(dir.filePath("good.png"));
    ASSERT_TRUE(goodFile.open(QIODevice::ReadOnly));
    goodBytes = goodFile.readAll();

    const struct
    {
        const char *name;
        QByteArray content;
    } files[] = {
        {"notes.bmp", "This is a text, not a picture.\n"},
        {"empty.png", QByteArray()},
        {"cut.png", goodBytes.left(goodBytes.size() / 2)},
        {"huge.png", pngHeaderOnly(200000, 200000)},
        {"garbage.jpg", QByteArray(3000, '\xd8')},
    };
    QStringList names;
    for (const auto &file : files) {
        QFile f(dir.filePath(file.name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(file.content);
        names << f.fileName();
    }
    names << dir.path() << QStringLiteral("/dev/zero");

    for (const QString &name : names) {
        SCOPED_TRACE(name.toStdString());
        TRChart chart;
        chart.resize(300, 200);
        chart.show();
        chart.SetChartColor(clSilver);
        chart.BackGroundImg()->SetIncludePath(true);
        chart.BackGroundImg()->SetName(name);
        EXPECT_EQ(chart.BackGroundImg()->Name(), QString());
        const QImage &data = chart.dataImage();
        ASSERT_FALSE(data.isNull());
        EXPECT_EQ(fromQColor(data.pixelColor(data.width() / 2, data.height() / 2)), clSilver);
        EXPECT_EQ(fromQColor(data.pixelColor(1, 1)), clSilver);
    }
}
