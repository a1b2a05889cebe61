#pragma once
// The numeric read-out TNumLab: one floating-point value, formatted by one of fifteen display
// types, in a framed number field with an optional text to its left and one to its right
// (typically a caption and a unit).
//
// The formatting is pure (FormatNumLabValue) and needs no QApplication; the control composes
// its whole picture off-screen through a Canvas and only copies it to the screen, so a value
// that changes quickly does not flicker.

#include "platform/Canvas.h"
#include "platform/Component.h"
#include "platform/Fonts.h"
#include "platform/MouseEvents.h"
#include "platform/ParentSettings.h"
#include "scales/Zel_zelbase.h"

#include <QMenu>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

namespace ZelNL {
Q_NAMESPACE

// How the value is written; the order is the stored value.
enum TDisplay {
    dtFloat,     // general format with Precision significant digits
    dtFixP,      // fixed point with Precision decimals
    dtExp,       // scientific, Precision digits, three-digit exponent
    dtHex,       // last Precision (at most 8) hexadecimal digits
    dtZeroInt,   // integer zero-filled to Precision digits
    dtInt,       // integer
    dtDateTime,  // day count formatted by DTFormat
    dtState,     // StateText
    dtBin,       // last Precision binary digits of the low 32 bits
    dtOct,       // last Precision (at most 11) octal digits of the low 32 bits
    dtDeg,       // degrees with decimals
    dtDegMin,    // degrees and minutes with decimals
    dtDegMinSec, // degrees, whole minutes and seconds with decimals
    dtEEng,      // engineering form with a metric prefix letter
    dtEEngNoDP   // the same, the letter standing in place of the decimal point
};
Q_ENUM_NS(TDisplay)

} // namespace ZelNL

using ZelNL::TDisplay;
using enum ZelNL::TDisplay;

// ---- formatting ------------------------------------------------------------------------------

// The settings the formatting reads; the defaults are those of a new read-out.
struct NumLabFormat
{
    TDisplay displayType = dtFixP;
    int precision = 2; // 0..15
    bool comma = false;
    bool forcePlusSign = false;
    QString dtFormat = QStringLiteral("mmm-dd, yyyy");
    QString stateText = QStringLiteral("undefined");
    QString overflowIndicator = QStringLiteral("*********");
};

// The nearest 64-bit integer, halves to the even neighbour; nothing for NaN, infinities and
// values outside the 64-bit range.
std::optional<qint64> roundHalfEven64(double value);

// The text of a value as the read-out shows it before OnBeforeDisplay and the width test:
// the display type's form, then (except for dtHex, dtDateTime, dtState and dtBin) "," or "."
// as decimal separator by Comma and a "+" before positive values by ForcePlusSign.
// Out-of-range values give the overflow indicator, which is never post-processed. Beyond the
// ranges of the individual types, NaN, infinities and integers outside 64 bits (dtInt) give
// the indicator as well, and so does a day count the calendar cannot hold. Negative zero is
// written as zero.
QString FormatNumLabValue(const NumLabFormat &format, double value);

// ---- the control -----------------------------------------------------------------------------

// The handler may replace the formatted text before the width test.
using TBeforeDisplayEvent = std::function<void(QObject *Sender, QString &Text)>;

// A light-weight read-out control. Every setter stores the value and repaints, but only when
// the value differs from the stored one. Repainting composes the picture at once (while the
// control is visible and not loading) and has the widget copy it to the screen: opaque
// controls copy it, transparent ones first fill the number field on the parent's surface and
// then combine the picture with the surface by a bitwise AND, so that the picture's white
// parts leave the parent's background visible.
class TNumLab : public QWidget, public ZelComponent, public TControlMouseEvents
{
    Q_OBJECT
    // From the base control.
    Q_PROPERTY(TFont *Font READ Font WRITE SetFont)
    Q_PROPERTY(bool ParentFont READ ParentFont WRITE SetParentFont)
    Q_PROPERTY(bool ParentShowHint READ ParentShowHint WRITE SetParentShowHint)
    Q_PROPERTY(QMenu *PopupMenu READ PopupMenu WRITE SetPopupMenu)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(bool Visible READ Visible WRITE setVisible)
    // The read-out's own.
    Q_PROPERTY(double Value READ Value WRITE SetValue)
    Q_PROPERTY(ZelNL::TDisplay DisplayType READ DisplayType WRITE SetDisplayType)
    Q_PROPERTY(int Precision READ Precision WRITE SetPrecision)
    Q_PROPERTY(bool Comma READ Comma WRITE SetComma)
    Q_PROPERTY(bool ForcePlusSign READ ForcePlusSign WRITE SetForcePlusSign)
    Q_PROPERTY(QString DTFormat READ DTFormat WRITE SetDTFormat)
    Q_PROPERTY(QString StateText READ StateText WRITE SetStateText)
    Q_PROPERTY(QString OverflowIndicator READ OverflowIndicator WRITE SetOverflowIndicator)
    Q_PROPERTY(bool Empty READ Empty WRITE SetEmpty)
    Q_PROPERTY(QString LeftText READ LeftText WRITE SetLeftText)
    Q_PROPERTY(QString RightText READ RightText WRITE SetRightText)
    Q_PROPERTY(int LeftSpace READ LeftSpace WRITE SetLeftSpace)
    Q_PROPERTY(int LabelWidth READ LabelWidth WRITE SetLabelWidth)
    Q_PROPERTY(Zel::TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(Zel::TAlignment LeftTextAlignment READ LeftTextAlignment WRITE SetLeftTextAlignment)
    Q_PROPERTY(
        Zel::TAlignment RightTextAlignment READ RightTextAlignment WRITE SetRightTextAlignment)
    Q_PROPERTY(Zel::TFrameStyle FrameStyle READ FrameStyle WRITE SetFrameStyle)
    Q_PROPERTY(Zel::TColorScheme ColorScheme READ ColorScheme WRITE SetColorScheme)
    Q_PROPERTY(TColor ColorLabBakG READ ColorLabBakG WRITE SetColorLabBakG)
    Q_PROPERTY(TColor ColorLabText READ ColorLabText WRITE SetColorLabText)
    Q_PROPERTY(TColor ColorOutBakG READ ColorOutBakG WRITE SetColorOutBakG)
    Q_PROPERTY(TColor ColorOutText READ ColorOutText WRITE SetColorOutText)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)

public:
    // Size of a new control.
    static constexpr int DefaultWidth = 160;
    static constexpr int DefaultHeight = 28;

    explicit TNumLab(QWidget *parent = nullptr);
    ~TNumLab() override;

    // --- base control ---------------------------------------------------------------------
    // The font, owned by the control; assigning copies the values. Changing any of its values
    // turns ParentFont off.
    TFont *Font() const { return m_font; }
    void SetFont(const TFont *value);
    // While on, the font follows the parent's.
    bool ParentFont() const { return m_parentSettings.parentFont(); }
    void SetParentFont(bool value);
    // Tool tips are shown only while ShowHint is on; with ParentShowHint it comes from the
    // parent's "ShowHint" property (off when the parent has none). Setting ShowHint turns
    // ParentShowHint off.
    bool ParentShowHint() const { return m_parentSettings.parentShowHint(); }
    void SetParentShowHint(bool value);
    bool ShowHint() const;
    void SetShowHint(bool value);
    // Shown on a right click; not owned.
    QMenu *PopupMenu() const { return m_popupMenu; }
    void SetPopupMenu(QMenu *menu) { m_popupMenu = menu; }
    // The visibility flag painting reads (true unless hidden by setVisible(false)).
    bool Visible() const { return m_visible; }
    void setVisible(bool visible) override;

    // --- published properties -------------------------------------------------------------
    double Value() const { return m_value; }
    void SetValue(double value);
    TDisplay DisplayType() const { return m_format.displayType; }
    void SetDisplayType(TDisplay value);
    // A negative value is ignored; values above 15 become 15.
    int Precision() const { return m_format.precision; }
    void SetPrecision(int value);
    bool Comma() const { return m_format.comma; }
    void SetComma(bool value);
    bool ForcePlusSign() const { return m_format.forcePlusSign; }
    void SetForcePlusSign(bool value);
    QString DTFormat() const { return m_format.dtFormat; }
    void SetDTFormat(const QString &value);
    QString StateText() const { return m_format.stateText; }
    void SetStateText(const QString &value);
    QString OverflowIndicator() const { return m_format.overflowIndicator; }
    void SetOverflowIndicator(const QString &value);
    // Draws the number field without any number.
    bool Empty() const { return m_empty; }
    void SetEmpty(bool value);
    QString LeftText() const { return m_leftText; }
    void SetLeftText(const QString &value);
    QString RightText() const { return m_rightText; }
    void SetRightText(const QString &value);
    // x of the number field's left edge. A negative value is ignored; a value above the
    // control's width becomes the width.
    int LeftSpace() const { return m_leftSpace; }
    void SetLeftSpace(int value);
    // Width of the number field; a negative value counts as 0.
    int LabelWidth() const { return m_labelWidth; }
    void SetLabelWidth(int value);
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment value);
    TAlignment LeftTextAlignment() const { return m_leftTextAlignment; }
    void SetLeftTextAlignment(TAlignment value);
    TAlignment RightTextAlignment() const { return m_rightTextAlignment; }
    void SetRightTextAlignment(TAlignment value);
    TFrameStyle FrameStyle() const { return m_frameStyle; }
    void SetFrameStyle(TFrameStyle value);
    // Sets the mid and light frame colours: grey (128,128,128) and white for csBWG,
    // clBtnShadow and clBtnHighlight for csSystem. The dark colour is always black.
    TColorScheme ColorScheme() const { return m_colorScheme; }
    void SetColorScheme(TColorScheme value);
    TColor ColorLabBakG() const { return m_colorLabBakG; }
    void SetColorLabBakG(TColor value);
    TColor ColorLabText() const { return m_colorLabText; }
    void SetColorLabText(TColor value);
    TColor ColorOutBakG() const { return m_colorOutBakG; }
    void SetColorOutBakG(TColor value);
    TColor ColorOutText() const { return m_colorOutText; }
    void SetColorOutText(TColor value);
    // Switching on has the parent redraw the area under the control; switching off repaints.
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool value);
    // The control's own enabled state; disabled controls draw their texts embossed in grey.
    // Setting it always refreshes.
    bool Enabled() const;
    void SetEnabled(bool value);

    // --- events ---------------------------------------------------------------------------
    TBeforeDisplayEvent OnBeforeDisplay;
    // OnClick, OnDblClick, OnMouseDown, OnMouseUp, OnMouseMove: see TControlMouseEvents.

    // --- state ----------------------------------------------------------------------------
    // The frame colours: Frame is the dark one, Shadow the mid one, Highlight the light one.
    const TFrameColors &frameColors() const { return m_frameColors; }
    // Which part the mouse last moved over: 0 the left text area (x <= LeftSpace), 1 the
    // number field (x <= LeftSpace + LabelWidth), 2 the right text area.
    int MouseArea() const { return m_mouseArea; }
    // The settings the formatting reads.
    const NumLabFormat &format() const { return m_format; }

    // --- painting -------------------------------------------------------------------------
    // Composes the picture now (while visible and not loading) and has it copied to the
    // screen.
    void Repaint();
    // The composed picture, the number text it shows (empty with Empty) and how many
    // pictures have been composed so far.
    const QImage &picture() const { return m_picture.image(); }
    QString DisplayedText() const { return m_displayedText; }
    int paintCount() const { return m_paintCount; }
    // Transfers the picture onto a surface with its top-left corner at (x, y), as the widget
    // does on its parent: copied when opaque, combined by AND when transparent. The
    // surface's copy mode and brush are restored.
    void PaintTo(Canvas &surface, int x, int y);

    // --- component life -------------------------------------------------------------------
    // End of loading: repaints.
    void loaded() override;
    // From another TNumLab: LeftSpace, Empty, LabelWidth, Precision, LeftText, RightText,
    // FrameStyle, Alignment, RightTextAlignment, LeftTextAlignment, OverflowIndicator, Value,
    // StateText, Transparent, the four colours, the three frame colours, ColorScheme and
    // DisplayType; then repaints. Not Comma, ForcePlusSign, DTFormat, Enabled, the font or
    // the events. Any other source raises EZelError ("Cannot assign a <class> to a TNumLab").
    virtual void Assign(const QObject *source);
    // Copies this read-out into dest through dest's Assign; raises EZelError for anything
    // but a TNumLab.
    virtual void AssignTo(QObject *dest) const;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    // The control's accessible interface, installed with the first control made.
    static void ensureAccessibleFactory();
    void compose();
    // The number text: formatted, rewritten by OnBeforeDisplay, and replaced by the
    // indicator when wider than the field allows.
    QString numberText(const Canvas &canvas);
    void drawSideText(Canvas &canvas, const QString &text, int x, int y, int whiteDx);
    void applyTransparency();
    template <class T> void setAndRepaint(T &field, const T &value);

    TParentSettings m_parentSettings;
    TFont *const m_font; // the font of m_parentSettings
    QMenu *m_popupMenu = nullptr;
    bool m_visible = true;

    double m_value = 0;
    NumLabFormat m_format;
    bool m_empty = false;
    QString m_leftText;
    QString m_rightText;
    int m_leftSpace = 35;
    int m_labelWidth = 80;
    TAlignment m_alignment = Zel::taCenter;
    TAlignment m_leftTextAlignment = Zel::taRightJustify;
    TAlignment m_rightTextAlignment = Zel::taLeftJustify;
    TFrameStyle m_frameStyle = Zel::fsLowered;
    TColorScheme m_colorScheme = Zel::csBWG;
    TColor m_colorLabBakG = clBtnFace;
    TColor m_colorLabText = clBlack;
    TColor m_colorOutBakG = clBtnFace;
    TColor m_colorOutText = clBlack;
    bool m_transparent = false;
    bool m_settingEnabled = false;

    TFrameColors m_frameColors;
    int m_mouseArea = 0;

    Bitmap m_picture;
    bool m_stale = true;
    QString m_displayedText;
    int m_paintCount = 0;
};
