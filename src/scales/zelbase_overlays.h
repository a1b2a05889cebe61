// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The objects a chart shows on top of its data: crosshairs (TCrossHair) and text labels
// (TCustomTextLabel, published as TTextLabel). They only hold settings; the chart that owns
// them draws them, moves them with the mouse and listens to their OnChange to repaint.
//
// Every setter stores the value and then raises OnChange (with the object as sender) when a
// handler is set. There is no equality test: assigning the current value notifies as well,
// so an owner can use any assignment as a repaint request. Exceptions to plain storing are
// stated at the setters.

#include "platform/Colors.h"
#include "platform/Fonts.h"
#include "platform/GraphicsTypes.h"
#include "scales/Zel_zelbase.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

// The layers a chart has; crosshairs and labels name one of them.
constexpr int zelFirstLayer = 1;
constexpr int zelLastLayer = 16;

// The plain published settings of a crosshair, one value, so that Assign copies them all.
struct TCrossHairSettings
{
    double posX = 0.0;
    double posY = 0.0;
    TColor color = clBlack;
    TCrossHMode mode = Zel::chOff;
    TPenStyle lineType = Gfx::psSolid;
    int lineWid = 1;
    int layer = zelFirstLayer;

    bool operator==(const TCrossHairSettings &) const = default;
};

// A crosshair: a horizontal line at world y PosY and/or a vertical line at world x PosX,
// placed through the mapping of Layer. A new crosshair has the settings the chart gives its
// crosshairs (position 0, 0, black, off, solid, one pixel) on layer 1.
class TCrossHair : public QObject
{
    Q_OBJECT
    Q_PROPERTY(double PosX READ PosX WRITE SetPosX)
    Q_PROPERTY(double PosY READ PosY WRITE SetPosY)
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(Zel::TCrossHMode Mode READ Mode WRITE SetMode)
    Q_PROPERTY(Gfx::TPenStyle LineType READ LineType WRITE SetLineType)
    Q_PROPERTY(int LineWid READ LineWid WRITE SetLineWid)
    Q_PROPERTY(int Layer READ Layer WRITE SetLayer)

public:
    explicit TCrossHair(QObject *parent = nullptr);

    double PosX() const { return m_settings.posX; }
    void SetPosX(double value);
    double PosY() const { return m_settings.posY; }
    void SetPosY(double value);
    TColor Color() const { return m_settings.color; }
    void SetColor(TColor value);
    TCrossHMode Mode() const { return m_settings.mode; }
    void SetMode(TCrossHMode value);
    TPenStyle LineType() const { return m_settings.lineType; }
    void SetLineType(TPenStyle value);
    int LineWid() const { return m_settings.lineWid; }
    void SetLineWid(int value);
    int Layer() const { return m_settings.layer; }
    // Values below 1 store 1, values above 16 store 16; either way OnChange is raised.
    void SetLayer(int value);

    // Copies every value of source (not its OnChange), then raises OnChange once.
    void Assign(const TCrossHair &source);

    std::function<void(QObject *sender)> OnChange;

private:
    void changed();

    TCrossHairSettings m_settings;
};

// The plain published settings of a text label (all but its font), one value, so that Assign
// copies them all.
struct TTextLabelSettings
{
    double posX = 100.0;
    double posY = 10.0;
    int layer = zelFirstLayer;
    int shadowDx = 0;
    int shadowDy = 0;
    TColor colorShadow = rgbColor(128, 128, 128);
    TAlignment alignment = Zel::taCenter;
    TVerticalAlignment verticalAlignment = Zel::vaBottom;
    TTxtLblAttachMode attachToData = Zel::tlamNone;
    TColor colorBkg = rgbColor(192, 192, 192);
    TColor colorBorder = clBlack;
    bool transparent = false;
    QString caption;
    TTxtLblMode mode = Zel::tlsimple;
    bool visible = true;

    bool operator==(const TTextLabelSettings &) const = default;
};

// A text label: a caption of one or more lines (separated by line feeds) anchored at
// (PosX, PosY), in world coordinates of Layer or in control pixels as AttachToData says,
// drawn in one of the TTxtLblMode styles. The label owns its font; changes made through
// Font() (or by SetFont) notify through the label's OnChange.
class TCustomTextLabel : public QObject
{
    Q_OBJECT

public:
    explicit TCustomTextLabel(QObject *parent = nullptr);
    ~TCustomTextLabel() override;

    double PosX() const { return m_settings.posX; }
    void SetPosX(double value);
    double PosY() const { return m_settings.posY; }
    void SetPosY(double value);
    int Layer() const { return m_settings.layer; }
    // Values outside 1..16 are ignored: no change, no notification.
    void SetLayer(int value);
    int ShadowDx() const { return m_settings.shadowDx; }
    void SetShadowDx(int value);
    int ShadowDy() const { return m_settings.shadowDy; }
    void SetShadowDy(int value);
    TColor ColorShadow() const { return m_settings.colorShadow; }
    void SetColorShadow(TColor value);
    TAlignment Alignment() const { return m_settings.alignment; }
    void SetAlignment(TAlignment value);
    TVerticalAlignment VerticalAlignment() const { return m_settings.verticalAlignment; }
    void SetVerticalAlignment(TVerticalAlignment value);
    TTxtLblAttachMode AttachToData() const { return m_settings.attachToData; }
    void SetAttachToData(TTxtLblAttachMode value);
    TColor ColorBkg() const { return m_settings.colorBkg; }
    void SetColorBkg(TColor value);
    TColor ColorBorder() const { return m_settings.colorBorder; }
    void SetColorBorder(TColor value);
    bool Transparent() const { return m_settings.transparent; }
    void SetTransparent(bool value);
    // The label's own font; it lives as long as the label.
    TFont *Font() const { return m_font.get(); }
    // Copies the settings of value into the label's own font (nullptr copies nothing but
    // still notifies).
    void SetFont(const TFont *value);
    QString Caption() const { return m_settings.caption; }
    // Every character below code 32 other than the line feed is stored as a blank.
    void SetCaption(const QString &value);
    TTxtLblMode Mode() const { return m_settings.mode; }
    void SetMode(TTxtLblMode value);
    bool Visible() const { return m_settings.visible; }
    void SetVisible(bool value);

    // The caption's lines, split at line feeds (an empty caption is one empty line).
    QStringList CaptionLines() const;

    // Copies every value of source, its font settings into the label's own font (not its
    // OnChange), then raises OnChange once.
    void Assign(const TCustomTextLabel &source);

    std::function<void(QObject *sender)> OnChange;

protected:
    void changed();

private:
    TTextLabelSettings m_settings;
    std::unique_ptr<TFont> m_font;
    // Set while the label itself changes its font, so that the font's own notifications are
    // not passed on in addition to the label's one.
    bool m_fontChangeQuiet = false;
};

// The text label the chart creates: publishes every label property.
class TTextLabel : public TCustomTextLabel
{
    Q_OBJECT
    Q_PROPERTY(double PosX READ PosX WRITE SetPosX)
    Q_PROPERTY(double PosY READ PosY WRITE SetPosY)
    Q_PROPERTY(int Layer READ Layer WRITE SetLayer)
    Q_PROPERTY(Zel::TTxtLblAttachMode AttachToData READ AttachToData WRITE SetAttachToData)
    Q_PROPERTY(TColor ColorBkg READ ColorBkg WRITE SetColorBkg)
    Q_PROPERTY(TColor ColorBorder READ ColorBorder WRITE SetColorBorder)
    Q_PROPERTY(TColor ColorShadow READ ColorShadow WRITE SetColorShadow)
    Q_PROPERTY(int ShadowDx READ ShadowDx WRITE SetShadowDx)
    Q_PROPERTY(int ShadowDy READ ShadowDy WRITE SetShadowDy)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(Zel::TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(
        Zel::TVerticalAlignment VerticalAlignment READ VerticalAlignment WRITE SetVerticalAlignment)
    Q_PROPERTY(TFont *Font READ Font WRITE SetFont)
    Q_PROPERTY(Zel::TTxtLblMode Mode READ Mode WRITE SetMode)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)

public:
    explicit TTextLabel(QObject *parent = nullptr);
};
