// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AboutBox.h"

#include "app/FormBuilder.h"
#include "app/Glyphs.h"
#include "platform/Controls.h"
#include "widgets/Zel_urllab.h"

#include <QShowEvent>

TFrmAbout *FrmAbout = nullptr;

using namespace FormBuilder;

namespace {

QFont arial(int pixelHeight, bool bold = false, bool italic = false)
{
    return windowFont(QStringLiteral("Arial"), pixelHeight, bold, italic);
}

void setTextColor(QWidget *widget, TColor color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, toQColor(color));
    widget->setPalette(palette);
}

TLabel *placedLabel(QWidget *parent, const char *name, const QString &caption, QRect rect,
                    Qt::Alignment align)
{
    TLabel *l = label(parent, name, caption, align);
    l->setGeometry(rect);
    return l;
}

void setLinkFont(TFont *font, TFontStyles style, TColor color)
{
    font->SetName(QStringLiteral("Courier New"));
    font->SetHeight(-13);
    font->SetStyle(style);
    font->SetColor(color);
}

TUrlLab *link(QWidget *parent, const char *name, const QString &caption, QRect rect)
{
    auto *lab = named(new TUrlLab(parent), name);
    lab->SetAutoSize(false);
    lab->setGeometry(rect);
    lab->SetCaption(caption);
    setLinkFont(lab->Font(), Gfx::fsBold, clBlue);
    setLinkFont(lab->FontActive(), TFontStyles(Gfx::fsBold) | Gfx::fsUnderline, clRed);
    // Reached with Tab and opened with Return or Space like the OK button.
    lab->setFocusPolicy(Qt::TabFocus);
    return lab;
}

} // namespace

TFrmAbout::TFrmAbout(QWidget *parent) : QDialog(parent)
{
    buildForm();
}

TFrmAbout::~TFrmAbout()
{
    if (FrmAbout == this)
        FrmAbout = nullptr;
}

void TFrmAbout::buildForm()
{
    named(this, "FrmAbout");
    SetCaption(QStringLiteral("BF_About"));
    // A dialog border: a title bar with the close box, not resizable.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(ClientWidth, ClientHeight);
    setWindowIcon(Glyphs::windowIcon());
    setFont(arial(13));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, toQColor(clBtnFace));
    pal.setColor(QPalette::WindowText, toQColor(clBlack));
    setPalette(pal);
    setAutoFillBackground(true);

    Panel1 = panel(this, "Panel1", {8, 10, 529, 127}, Ctl::bvLowered, Ctl::bvRaised);
    LblName = placedLabel(Panel1, "LblName", QStringLiteral("App. name"), {8, 12, 513, 34},
                          Qt::AlignHCenter);
    LblName->setFont(arial(30, true, true));
    setTextColor(LblName, clMaroon);
    LblVersion = placedLabel(Panel1, "LblVersion", QStringLiteral("App. version"), {8, 50, 513, 16},
                             Qt::AlignHCenter);
    LblAuthor = placedLabel(Panel1, "LblAuthor", QString(), {8, 74, 513, 16}, Qt::AlignHCenter);
    LblCopyright =
        placedLabel(Panel1, "LblCopyright",
                    QStringLiteral("Copyright \u00a9 2026 the Ionograph developers \u00b7 "
                                   "Licence: GPL-3.0-or-later"),
                    {8, 100, 513, 16}, Qt::AlignHCenter);

    LblDescription = placedLabel(this, "LblDescription", QStringLiteral("LblDescription"),
                                 {8, 152, 529, 65}, Qt::AlignHCenter);
    LblDescription->setWordWrap(true);
    LblDescription->setFont(arial(13));
    setTextColor(LblDescription, clMaroon);

    Panel2 = panel(this, "Panel2", {8, 224, 529, 65}, Ctl::bvLowered, Ctl::bvRaised);
    LblWebSite = placedLabel(Panel2, "LblWebSite", QStringLiteral("LblWebSite"), {8, 8, 135, 49},
                             Qt::AlignRight);
    LblWebSite->setWordWrap(true);
    UrlLabZelSuite = link(Panel2, "UrlLabZelSuite", QStringLiteral("BF_LinkMassSpectrometry"),
                          {152, 8, 369, 16});
    UrlLabSimulations = link(Panel2, "UrlLabSimulations", QStringLiteral("BF_LinkResolvingPower"),
                             {152, 24, 369, 16});
    UrlLabHomepage =
        link(Panel2, "UrlLabHomepage", QStringLiteral("BF_HomePage"), {152, 40, 369, 16});
    UrlLabHomepage->setVisible(false);

    BButOK = button(this, "BButOK", QStringLiteral("BF_OK"), Glyphs::okGlyph());
    BButOK->setGeometry(424, 296, 113, 33);
    BButOK->setDefault(true);
    BButOK->OnClick = [this] { BButOKClick(); };

    // End of loading, in creation order.
    loaded();
    UrlLabZelSuite->loaded();
    UrlLabSimulations->loaded();
    UrlLabHomepage->loaded();
}

void TFrmAbout::FormShow()
{
    const QString caption = UrlLabHomepage->Caption();
    if (!caption.isEmpty() && caption != QLatin1String("HomePage")) {
        UrlLabHomepage->setVisible(true);
        return;
    }
    UrlLabHomepage->setVisible(false);
    UrlLabZelSuite->move(UrlLabZelSuite->x(), 16);
    UrlLabSimulations->move(UrlLabSimulations->x(), 32);
}

void TFrmAbout::BButOKClick()
{
    accept();
}

void TFrmAbout::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        FormShow();
        // The links come before OK in the focus chain; the box opens with OK focused, so that
        // Return closes it, and Tab goes on round to the links.
        BButOK->setFocus();
    }
}
