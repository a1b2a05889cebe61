// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The hyperlink label TUrlLab: a text label that shows a second font while the mouse is over
// it and, when clicked, opens a web address with the system's default handler or starts a
// program with parameters.
//
// The label is light-weight like the read-out: it composes its picture off-screen through a
// Canvas and paintEvent only copies it to the screen. Opening goes through the platform's
// replaceable shell function (platform/Shell.h).

#include "platform/AlignLayout.h"
#include "platform/Canvas.h"
#include "platform/Component.h"
#include "platform/Fonts.h"
#include "platform/MouseEvents.h"
#include "platform/ParentSettings.h"
#include "platform/ScreenCursors.h"
#include "scales/Zel_zelbase.h"

#include <QImage>
#include <QMenu>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>

// Errors of the hyperlink label; the message is all they carry.
class EZelURLLabError : public EZelError
{
public:
    using EZelError::EZelError;
};

namespace ZelUL {
Q_NAMESPACE

// Vertical placement of the text in the label.
enum TTextLayout { tlTop, tlCenter, tlBottom };
Q_ENUM_NS(TTextLayout)

} // namespace ZelUL

using ZelUL::TTextLayout;

// Size limits of a control; 0 means no limit.
class TSizeConstraints : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int MaxHeight READ MaxHeight WRITE SetMaxHeight)
    Q_PROPERTY(int MaxWidth READ MaxWidth WRITE SetMaxWidth)
    Q_PROPERTY(int MinHeight READ MinHeight WRITE SetMinHeight)
    Q_PROPERTY(int MinWidth READ MinWidth WRITE SetMinWidth)
public:
    explicit TSizeConstraints(QObject *parent = nullptr) : QObject(parent) {}

    // Negative values count as 0.
    int MaxHeight() const { return m_maxHeight; }
    void SetMaxHeight(int value) { set(m_maxHeight, value); }
    int MaxWidth() const { return m_maxWidth; }
    void SetMaxWidth(int value) { set(m_maxWidth, value); }
    int MinHeight() const { return m_minHeight; }
    void SetMinHeight(int value) { set(m_minHeight, value); }
    int MinWidth() const { return m_minWidth; }
    void SetMinWidth(int value) { set(m_minWidth, value); }

    void Assign(const TSizeConstraints &source);
    // The size within the limits (a maximum below the minimum gives way to the minimum).
    QSize bound(QSize size) const;

    std::function<void(QObject *sender)> OnChange;

private:
    void set(int &field, int value);

    int m_maxHeight = 0;
    int m_maxWidth = 0;
    int m_minHeight = 0;
    int m_minWidth = 0;
};

// Handler of a context-menu request: MousePos in control coordinates; setting Handled keeps
// the popup menu closed.
using TContextPopupEvent = std::function<void(QObject *Sender, QPoint MousePos, bool &Handled)>;

class TUrlLab : public QWidget, public ZelComponent, public TControlMouseEvents
{
    Q_OBJECT
    Q_PROPERTY(TAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(Zel::TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(TAnchors Anchors READ Anchors WRITE SetAnchors)
    Q_PROPERTY(TSizeConstraints *Constraints READ Constraints WRITE SetConstraints)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(TFont *Font READ Font WRITE SetFont)
    Q_PROPERTY(TFont *FontActive READ FontActive WRITE SetFontActive)
    Q_PROPERTY(bool ParentColor READ ParentColor WRITE SetParentColor)
    Q_PROPERTY(bool ParentFont READ ParentFont WRITE SetParentFont)
    Q_PROPERTY(bool ParentShowHint READ ParentShowHint WRITE SetParentShowHint)
    Q_PROPERTY(QMenu *PopupMenu READ PopupMenu WRITE SetPopupMenu)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(QString URL READ URL WRITE SetURL)
    Q_PROPERTY(QString TaskParams READ TaskParams WRITE SetTaskParams)
    Q_PROPERTY(ZelUL::TTextLayout Layout READ Layout WRITE SetLayout)
    Q_PROPERTY(bool Visible READ Visible WRITE setVisible)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)

public:
    // Size of a new label (before AutoSize fits it to its caption).
    static constexpr int DefaultWidth = 65;
    static constexpr int DefaultHeight = 17;

    explicit TUrlLab(QWidget *parent = nullptr);
    ~TUrlLab() override;

    // --- base label -----------------------------------------------------------------------
    // Stored for the window's layout, which places aligned and anchored children.
    TAlign Align() const { return m_align; }
    void SetAlign(TAlign value) { m_align = value; }
    TAnchors Anchors() const { return m_anchors; }
    void SetAnchors(TAnchors value) { m_anchors = value; }
    // Size limits, owned by the label; assigning copies the values. The label's size is
    // kept within them.
    TSizeConstraints *Constraints() const { return m_constraints; }
    void SetConstraints(const TSizeConstraints *value);
    // Horizontal placement of each text line.
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment value);
    // While on, the label fits its size to the caption: without WordWrap both width and height
    // (a right-aligned label keeps its right edge), with WordWrap only the height.
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool value);
    // Shown as written: "&" marks no accelerator. Line breaks start new lines.
    QString Caption() const { return m_caption; }
    void SetCaption(const QString &value);
    // Background of an opaque label. Setting it turns ParentColor off.
    TColor Color() const { return m_color; }
    void SetColor(TColor value);
    // While on, Color follows the parent's background colour.
    bool ParentColor() const { return m_parentColor; }
    void SetParentColor(bool value);
    // The label's own enabled state; a disabled label draws its text embossed in grey and
    // keeps its normal font under the mouse.
    bool Enabled() const;
    void SetEnabled(bool value);
    // The font, owned by the label; assigning copies the values. Changing any of its values
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
    // Shown on a right click unless OnContextPopup handles it; not owned.
    QMenu *PopupMenu() const { return m_popupMenu; }
    void SetPopupMenu(QMenu *menu) { m_popupMenu = menu; }
    // A transparent label draws only its text; the parent's background shows around it.
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool value);
    TTextLayout Layout() const { return m_layout; }
    void SetLayout(TTextLayout value);
    // Breaks lines at blanks to fit the label's width.
    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool value);
    bool Visible() const { return m_visible; }
    void setVisible(bool visible) override;

    // The label's mouse cursor: a number of the screen cursor table (crDefault: none of its
    // own). Not stored.
    int Cursor() const { return m_cursor; }
    void SetCursor(int number);

    // --- the hyperlink --------------------------------------------------------------------
    // Web address or program path; blanks at both ends are removed.
    QString URL() const { return m_url; }
    void SetURL(const QString &value);
    // Command-line parameters of a program started by a click; blanks at both ends are
    // removed.
    QString TaskParams() const { return m_taskParams; }
    void SetTaskParams(const QString &value);
    // Shown while the mouse is over an enabled label; owned, assigning copies the values.
    // At construction a copy of the label's font.
    TFont *FontActive() const { return m_fontActive; }
    void SetFontActive(const TFont *value);
    // The font the label returns to when the mouse leaves: the label's font as it was when
    // loading finished. A label that never loads takes its font as it is when the mouse
    // enters.
    const TFont *FontNormal() const { return m_fontNormal; }

    // A click: opens URL (below), then raises OnClick. Nothing is opened for an empty URL.
    // A web address (isWebAddress) opens with the default handler, under the hourglass
    // cursor; its result is not examined. Otherwise URL must name a
    // program ending in ".exe" (in any case), which is started with TaskParams. Raises
    // EZelURLLabError, without OnClick, when URL is neither or the program cannot start.
    virtual void Click();
    // The file extension of a path: from the last "." after the last path separator or drive
    // colon, the point included; empty when there is none.
    static QString fileExtension(const QString &path);
    // True for an address that begins with "http://" or "https://", in any letter case.
    static bool isWebAddress(const QString &url);

    // --- events ---------------------------------------------------------------------------
    // OnClick, OnDblClick, OnMouseDown, OnMouseUp, OnMouseMove: see TControlMouseEvents.
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TContextPopupEvent OnContextPopup;

    // --- mouse over the label -------------------------------------------------------------
    // What the toolkit calls when the mouse enters or leaves; public so that callers without
    // a real pointer can drive them.
    void MouseEnter();
    void MouseLeave();

    // --- painting -------------------------------------------------------------------------
    // Has the picture composed anew and copied to the screen (nothing while hidden or
    // loading; the next paint then composes it).
    void Repaint();
    // The composed picture: opaque labels fill it with Color, transparent ones leave every
    // pixel but the text's fully transparent.
    const QImage &picture();
    // The lines of text as they are drawn, after breaking.
    QStringList textLines() const;
    // The size the caption needs in the current font (AutoSize fits the label to it).
    QSize textExtent() const;

    // --- component life -------------------------------------------------------------------
    // End of loading: fits the size, keeps the font as the normal font and repaints.
    void loaded() override;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    // With a focus policy (a label has none unless its window gives it one), Return, Enter and
    // Space click the label, and the focused label shows the focus frame.
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    // The control's accessible interface, installed with the first control made.
    static void ensureAccessibleFactory();
    void openURL();
    [[noreturn]] void fail(const QString &reason) const;
    void compose();
    // Caption, font or wrapping changed: fit the size and repaint.
    void textChanged();
    void adjustBounds();
    void applyConstraints();
    void followParentColor();
    void applyTransparency();
    template <class T> void setAndRepaint(T &field, const T &value);

    TAlign m_align = TAlign::alNone;
    TAnchors m_anchors = defaultAnchors();
    TSizeConstraints *m_constraints;
    TAlignment m_alignment = Zel::taLeftJustify;
    bool m_autoSize = true;
    QString m_caption;
    TColor m_color = clBtnFace;
    bool m_parentColor = true;
    bool m_followingParentColor = false;
    TParentSettings m_parentSettings;
    TFont *const m_font; // the font of m_parentSettings
    TFont *m_fontActive;
    TFont *m_fontNormal;
    QMenu *m_popupMenu = nullptr;
    bool m_transparent = false;
    TTextLayout m_layout = ZelUL::tlTop;
    bool m_wordWrap = false;
    bool m_visible = true;
    int m_cursor = Screen::crDefault;

    QString m_url;
    QString m_taskParams;
    bool m_hasLoaded = false;
    bool m_activeShown = false; // FontActive applied by MouseEnter, not yet undone
    bool m_leftPressed = false; // a left press began here; its release is a click

    QImage m_picture;
    bool m_stale = true;
    bool m_adjusting = false;
};
