// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Fonts.h"

#include "platform/Component.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QHash>
#include <QMutex>
#include <QStringList>
#include <algorithm>
#include <cstdlib>
#include <mutex>

int mulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    const long long product = static_cast<long long>(a) * b;
    const long long magnitude =
        (std::llabs(product) + std::llabs(static_cast<long long>(c)) / 2) / std::llabs(c);
    return static_cast<int>((product < 0) != (c < 0) ? -magnitude : magnitude);
}

void installFontSubstitutions()
{
    static std::once_flag once;
    std::call_once(once, [] {
        // Metric-compatible stand-ins, so texts keep the widths the layouts were made for.
        QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
        QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
        QFont::insertSubstitution(QStringLiteral("Times New Roman"),
                                  QStringLiteral("Liberation Serif"));
        // The old dialog faces have no stand-in: they become the desktop's sans-serif face.
        QFont probe;
        probe.setStyleHint(QFont::SansSerif);
        const QString sans = QFontInfo(probe).family();
        for (const char *face :
             {"MS Sans Serif", "Microsoft Sans Serif", "MS Shell Dlg", "MS Shell Dlg 2"})
            QFont::insertSubstitution(QString::fromLatin1(face), sans);
    });
}

namespace {

constexpr int maxPixelSize = 4096;

QFont baseFont(const FontData &data)
{
    installFontSubstitutions();
    QFont font(data.name.isEmpty() ? QStringLiteral("MS Sans Serif") : data.name);
    // Aliased, fully hinted glyphs without kerning: every glyph lands on whole pixels, and a
    // text's width is the sum of its characters' (whole-pixel) advances.
    font.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setKerning(false);
    font.setBold(data.style.testFlag(Gfx::fsBold));
    font.setItalic(data.style.testFlag(Gfx::fsItalic));
    font.setUnderline(data.style.testFlag(Gfx::fsUnderline));
    font.setStrikeOut(data.style.testFlag(Gfx::fsStrikeOut));
    return font;
}

// The largest em size whose ascent plus descent does not exceed the cell height asked for.
int fitCellHeight(const FontData &data)
{
    static QMutex mutex;
    static QHash<QString, int> cache;
    const QString key = data.name + QLatin1Char('|') + QString::number(int(data.style)) +
                        QLatin1Char('|') + QString::number(data.height);
    QMutexLocker lock(&mutex);
    if (const auto it = cache.constFind(key); it != cache.constEnd())
        return it.value();

    QFont font = baseFont(data);
    const auto cell = [&font](int px) {
        font.setPixelSize(px);
        const QFontMetrics metrics(font);
        return metrics.ascent() + metrics.descent();
    };
    const int target = std::min(data.height, maxPixelSize);
    const int reference = std::max(1, cell(100));
    int px = std::clamp(static_cast<int>(target * 100LL / reference), 1, maxPixelSize);
    for (int guard = 0; guard < 64 && px > 1 && cell(px) > target; ++guard)
        --px;
    for (int guard = 0; guard < 64 && px < maxPixelSize && cell(px + 1) <= target; ++guard)
        ++px;
    cache.insert(key, px);
    return px;
}

} // namespace

int FontData::pixelSize() const
{
    if (height < 0)
        return std::min(-height, maxPixelSize);
    if (height == 0)
        return std::clamp(mulDiv(8, pixelsPerInch, 72), 1, maxPixelSize);
    return fitCellHeight(*this);
}

QFont toQFont(const FontData &data)
{
    QFont font = baseFont(data);
    font.setPixelSize(data.pixelSize());
    return font;
}

TFont::TFont(QObject *parent) : QObject(parent) {}

void TFont::changed()
{
    if (OnChange)
        OnChange(this);
}

void TFont::SetCharset(int value)
{
    if (assignIfChanged(m_data.charset, value))
        changed();
}

void TFont::SetColor(TColor value)
{
    if (assignIfChanged(m_data.color, value))
        changed();
}

void TFont::SetHeight(int value)
{
    if (assignIfChanged(m_data.height, value))
        changed();
}

void TFont::SetName(const QString &value)
{
    if (assignIfChanged(m_data.name, value))
        changed();
}

int TFont::Size() const
{
    return -mulDiv(m_data.height, 72, m_data.pixelsPerInch);
}

void TFont::SetSize(int points)
{
    SetHeight(-mulDiv(points, m_data.pixelsPerInch, 72));
}

void TFont::SetStyle(TFontStyles value)
{
    if (assignIfChanged(m_data.style, value))
        changed();
}

void TFont::SetPixelsPerInch(int value)
{
    if (value > 0)
        m_data.pixelsPerInch = value;
}

void TFont::Assign(const TFont &source)
{
    if (&source == this)
        return;
    FontData data = source.m_data;
    data.pixelsPerInch = m_data.pixelsPerInch;
    if (source.m_data.pixelsPerInch != m_data.pixelsPerInch)
        data.height = -mulDiv(source.Size(), m_data.pixelsPerInch, 72);
    setData(data);
}

void TFont::setData(const FontData &data)
{
    if (data == m_data)
        return;
    m_data = data;
    if (m_data.pixelsPerInch <= 0)
        m_data.pixelsPerInch = screenPixelsPerInch;
    changed();
}
