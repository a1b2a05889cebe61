// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/TraceExport.h"

#include "app/TfrmExample.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QLocale>
#include <QSaveFile>
#include <QWidget>
#include <charconv>

namespace {

// The shortest text that reads back as the same double.
void appendNumber(QByteArray &text, double value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    text.append(buffer, result.ptr - buffer);
}

QString thousandths(int value)
{
    return QString::number(value / 1000.0, 'f', 3);
}

QString percent(int invertedPosition)
{
    return QString::number(100 - invertedPosition);
}

struct NamedFormat
{
    const char *extension;
    PictureFormat format;
};
constexpr NamedFormat pictureFormats[] = {
    {"png", {"PNG", true, -1}},
    // Thin trace lines blur at the writer's usual quality of 75.
    {"jpg", {"JPEG", true, 95}},
    {"jpeg", {"JPEG", true, 95}},
    {"bmp", {"BMP", false, -1}},
};

} // namespace

const PictureFormat *pictureFormatOf(const QString &fileName)
{
    const QString extension = QFileInfo(fileName).suffix().toLower();
    if (extension.isEmpty())
        return &pictureFormats[0].format;
    for (const NamedFormat &f : pictureFormats)
        if (extension == QLatin1String(f.extension))
            return &f.format;
    return nullptr;
}

QString pictureExtensions()
{
    QStringList extensions;
    for (const NamedFormat &f : pictureFormats)
        extensions << QString::fromLatin1(f.extension);
    const QString last = extensions.takeLast();
    return extensions.join(QStringLiteral(", ")) + QStringLiteral(" or ") + last;
}

TraceSettings traceSettings(const TfrmExample &window)
{
    const SliderPositions p = window.sliderPositions();
    TraceSettings settings = {
        {QStringLiteral("Program"), QStringLiteral("Ionograph " IONOGRAPH_VERSION)},
        {QStringLiteral("Centre mass"), thousandths(p.M + p.F)},
        {QStringLiteral("Range"), thousandths(p.X)},
        {QStringLiteral("Resolving power"), QString::number(p.R)},
        {QStringLiteral("Amplification"),
         QStringLiteral("%1 (full scale %2)").arg(p.A).arg(p.A * 0.0001 * p.A)},
        {QStringLiteral("PFK %"), percent(p.P_pfk)},
        {QStringLiteral("Methyl-nonenone %"), percent(p.P_mnn)},
        {QStringLiteral("Pregnene %"), percent(p.P_preg)},
    };
    if (const OwnSubstance &own = window.ownSubstance(); !own.formula.isEmpty()) {
        settings.append({QStringLiteral("Own substance"), own.formula});
        settings.append({QStringLiteral("Own substance charge"), QString::number(own.charge)});
        settings.append({QStringLiteral("Own substance %"), QString::number(own.amount)});
    }
    settings.append({QStringLiteral("Tour step"), QString::number(window.CurrentTourStep())});
    if (!window.model().noiseEnabled())
        settings.append({QStringLiteral("Noise"), QStringLiteral("off")});
    else if (window.NoiseSeed())
        settings.append({QStringLiteral("Seed"), QString::number(*window.NoiseSeed())});
    return settings;
}

bool exportTraceCsv(const TfrmExample &window, const QString &fileName, QString *error)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        *error = file.errorString();
        return false;
    }
    QByteArray text;
    text.reserve(int(TraceModel::kSampleCount) * 44);
    for (const auto &[key, value] : traceSettings(window))
        text += "# " + key.toUtf8() + ": " + value.toUtf8() + '\n';
    text += "mass,signal\n";
    for (const TraceSample &s : window.model().samples()) {
        appendNumber(text, s.x);
        text += ',';
        appendNumber(text, s.y);
        text += '\n';
    }
    file.write(text);
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

bool writeSnapshot(QWidget &window, QSize clientSize, const QString &fileName, QString *error,
                   const TraceSettings &settings)
{
    if (!window.isVisible()) {
        window.setAttribute(Qt::WA_DontShowOnScreen);
        window.show();
        QCoreApplication::processEvents();
    }
    const PictureFormat *format = pictureFormatOf(fileName);
    if (!format) {
        *error = QStringLiteral("pictures are written as %1, chosen by the file name's "
                                "extension")
                     .arg(pictureExtensions());
        return false;
    }
    // At the screen's density (the display size of --scale), so that text is as sharp as on
    // the screen; at 1 the picture is the design-size one, byte for byte.
    const qreal ratio = window.devicePixelRatioF();
    QImage image(clientSize * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    window.render(&image);
    if (format->keepsSettings) {
        for (const auto &[key, value] : settings)
            image.setText(key, value);
        if (ratio != 1)
            image.setText(QStringLiteral("Scale"),
                          QString::number(ratio, 'g', QLocale::FloatingPointShortest));
    }
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    QImageWriter writer(&file, format->format);
    writer.setQuality(format->quality);
    if (!writer.write(image)) {
        *error = writer.errorString();
        return false;
    }
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}
