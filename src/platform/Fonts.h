// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Fonts as the component library describes them: a face name, a height in pixels (negative for
// the character height, positive for the cell height), a style set, a colour and a character
// set. Faces of the original desktop are mapped onto installed ones once, so that every machine
// with the same fonts draws the same text.

#include "platform/Colors.h"
#include "platform/GraphicsTypes.h"

#include <QFont>
#include <QObject>
#include <QString>
#include <functional>

// Pixel density every screen canvas assumes: window layouts are designed at 120 pixels per
// inch and are not rescaled, so point sizes convert to pixels with this value everywhere.
constexpr int screenPixelsPerInch = 120;

// Character set numbers a font may carry; text is Unicode here, the value is only stored.
constexpr int fontCharsetAnsi = 0;
constexpr int fontCharsetDefault = 1;
constexpr int fontCharsetSymbol = 2;

// a * b / c rounded half away from zero, computed without overflow; the conversion between
// point sizes and pixel heights. Returns -1 when c is 0.
int mulDiv(int a, int b, int c);

// Maps the face names the stored window descriptions use ("Arial", "Courier New",
// "MS Sans Serif", ...) onto installed families. Runs once; later calls do nothing.
void installFontSubstitutions();

// The plain values of a font.
struct FontData
{
    QString name = QStringLiteral("MS Sans Serif");
    int height = -13; // 8 points at the screen density
    TFontStyles style;
    TColor color = clWindowText;
    int charset = fontCharsetDefault;
    int pixelsPerInch = screenPixelsPerInch;

    // The pixel size of the em square this height asks for (cell heights are fitted to the
    // face's ascent plus descent; 0 means the default 8 points at the font's density).
    int pixelSize() const;

    bool operator==(const FontData &other) const = default;
};

// The aliased, unkerned QFont for a font's values.
QFont toQFont(const FontData &data);

// A font object as components publish it. Setters notify through OnChange only when the value
// changes; Assign copies every value and, when the two densities differ, keeps the source's
// point size rather than its pixel height (so a screen font assigned to a printer canvas
// prints at the same size).
class TFont : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int Charset READ Charset WRITE SetCharset)
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(int Size READ Size WRITE SetSize STORED false)
    Q_PROPERTY(Gfx::TFontStyles Style READ Style WRITE SetStyle)

public:
    explicit TFont(QObject *parent = nullptr);

    int Charset() const { return m_data.charset; }
    void SetCharset(int value);
    TColor Color() const { return m_data.color; }
    void SetColor(TColor value);
    int Height() const { return m_data.height; }
    void SetHeight(int value);
    QString Name() const { return m_data.name; }
    void SetName(const QString &value);
    // Point size: -Height * 72 / PixelsPerInch, rounded.
    int Size() const;
    void SetSize(int points);
    TFontStyles Style() const { return m_data.style; }
    void SetStyle(TFontStyles value);

    // The density used to convert Size to Height; changing it keeps Height.
    int PixelsPerInch() const { return m_data.pixelsPerInch; }
    void SetPixelsPerInch(int value);

    void Assign(const TFont &source);

    const FontData &data() const { return m_data; }
    void setData(const FontData &data);
    QFont toQFont() const { return ::toQFont(m_data); }

    std::function<void(QObject *sender)> OnChange;

private:
    void changed();

    FontData m_data;
};
