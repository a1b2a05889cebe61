// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/TfrmExample.h"

#include "app/AboutBox.h"
#include "chart/Zel_rchart.h"
#include "hostlink/WendralDemon.h"
#include "i18n/Zodavided2000.h"
#include "platform/Controls.h"
#include "widgets/Zel_NumLab.h"
#include "widgets/Zel_urllab.h"

#include <QCoreApplication>
#include <QPointer>
#include <QShowEvent>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>
#include <climits>

TfrmExample *frmExample = nullptr;

namespace {

// The slider positions of one tour step, in the order the step sets them, and the key of its
// explanation text.
struct TourRow
{
    int amplif, mass, massFineAdj, magnifX, resol, pregnene, metNonenone, pfk;
    const char *explanationKey;
};

constexpr TourRow tourRows[TfrmExample::TourStepCount] = {
    {1000, 42000, 0, 8000, 800, 100, 100, 100, "explain1"},   // air lines at 38 .. 46
    {1000, 30000, 0, 8000, 800, 100, 100, 100, "explain2"},   // 26 .. 34
    {700, 140000, 0, 250000, 800, 100, 100, 100, "explain3"}, // the wide view, 15 .. 265
    {700, 140000, 0, 250000, 1000, 100, 50, 100, "explain4"}, // methyl-nonenone at half
    {200, 155000, 0, 8000, 1000, 100, 100, 30, "explain5"},   // the PFK line at 155
};

// Appends one line of plain text (never read as markup); the pane keeps showing its start.
void appendLine(QTextEdit *pane, const QString &line)
{
    QTextCursor cursor(pane->document());
    cursor.movePosition(QTextCursor::End);
    if (!pane->document()->isEmpty())
        cursor.insertBlock();
    cursor.insertText(line);
    pane->moveCursor(QTextCursor::Start);
}

// The About box's texts that the main window sets when the dictionary has none of its own
// (one written before these texts were keys), in English or in German: the box's caption keys
// are translated by the dictionary, these are written into the program.
struct AboutTexts
{
    const char *webSite;
    const char *description;
    const char *massSpectrometryURL;
    const char *resolvingPowerURL;
};

constexpr AboutTexts englishAbout = {
    "More information can be found at the following Web sites:",
    "This program shows the display of a mass spectrometer. It is a simulation made for "
    "interactive electronic textbooks: sliders set the instrument and the sample, and the "
    "trace follows at once, as on a real instrument.",
    "https://en.wikipedia.org/wiki/Mass_spectrometry",
    "https://en.wikipedia.org/wiki/Resolution_(mass_spectrometry)",
};

constexpr AboutTexts germanAbout = {
    "Mehr Informationen finden Sie auf folgenden Webseiten:",
    "Dieses Programm zeigt die Anzeige eines Massenspektrometers. Es ist eine Simulation für "
    "interaktive elektronische Lehrbücher: Schieberegler stellen Gerät und Probe ein, "
    "und die Spur folgt sofort wie an einem echten Gerät.",
    "https://de.wikipedia.org/wiki/Massenspektrometrie",
    "https://de.wikipedia.org/wiki/Aufl%C3%B6sungsverm%C3%B6gen",
};

} // namespace

TfrmExample::TfrmExample(const QString &dictionaryFile, QWidget *parent) : QWidget(parent)
{
    buildForm(dictionaryFile);
}

TfrmExample::~TfrmExample()
{
    if (frmExample == this)
        frmExample = nullptr;
}

SliderPositions TfrmExample::sliderPositions() const
{
    SliderPositions p;
    p.M = SBarMass->Position();
    p.F = SBarMassFineAdj->Position();
    p.X = SBarMagnifX->Position();
    p.R = SBarResol->Position();
    p.A = SBarAmplif->Position();
    p.P_pfk = SBarPFK->Position();
    p.P_mnn = SBarMetNonenone->Position();
    p.P_preg = SBarPregnene->Position();
    return p;
}

void TfrmExample::UpdateDisplay()
{
    ++m_updateCount;
    m_frozenNoise.next = 0; // a held trace replays its noise from the first sample
    const SliderPositions positions = sliderPositions();
    if (RCScope->isMouseDragInProgress()) {
        // The zoom of a drag on the scope lasts while the button is held: new noise in the
        // dragged window. The first update after the release sets the sliders' window again.
        m_model.ComputeSpectrum(positions);
        writeTraceItems(m_model, *RCScope);
        RCScope->ShowItems();
        return;
    }
    updateDisplay(m_model, positions, *RCScope);
}

void TfrmExample::FormShow()
{
    if (m_shown)
        return;
    m_shown = true;
    TourStep(1);
    // Drawn even when step 1 moved no slider.
    UpdateDisplay();
    if (!FrmAbout)
        return;
    fillAboutBox();
    if (m_aboutBoxAtStart && isVisible() && !testAttribute(Qt::WA_DontShowOnScreen))
        showAboutBoxOverPaintedWindow();
}

void TfrmExample::fillAboutBox()
{
    if (!cliDemon)
        return;
    FrmAbout->LblName->SetCaption(QStringLiteral("Ionograph"));
    FrmAbout->LblVersion->SetCaption(QStringLiteral("Version " IONOGRAPH_VERSION));
    FrmAbout->UrlLabHomepage->SetURL(TranslateString(QStringLiteral("HomePageURL")));
    const QString language = TranslateString(QStringLiteral("$dlglanguage$")).toLower();
    cliDemon->Engine().TranslateComponent(FrmAbout);
    const AboutTexts &texts = language == QLatin1String("lggerman") ? germanAbout : englishAbout;
    const auto dictionaryText = [this](const char *key, const char *programText) {
        const QString k = QString::fromLatin1(key);
        const QString text = TranslateString(k);
        return text == k ? QString::fromUtf8(programText) : text;
    };
    FrmAbout->LblWebSite->SetCaption(dictionaryText("AboutWebSite", texts.webSite));
    FrmAbout->LblDescription->SetCaption(dictionaryText("AboutDescription", texts.description));
    FrmAbout->UrlLabZelSuite->SetURL(
        dictionaryText("LinkMassSpectrometryURL", texts.massSpectrometryURL));
    FrmAbout->UrlLabSimulations->SetURL(
        dictionaryText("LinkResolvingPowerURL", texts.resolvingPowerURL));
}

void TfrmExample::showAboutBoxOverPaintedWindow()
{
    // The window is being shown: the box follows once the message loop has painted it.
    QTimer::singleShot(0, this, [] {
        QCoreApplication::processEvents();
        if (FrmAbout)
            FrmAbout->exec();
    });
}

void TfrmExample::TourStep(int n)
{
    m_currentTourStep = n;
    if (n < 1 || n > TourStepCount)
        return;
    const TourRow &row = tourRows[n - 1];
    // Each slider that really moves raises its change event, as a user's move would.
    SBarAmplif->SetPosition(row.amplif);
    SBarMass->SetPosition(row.mass);
    SBarMassFineAdj->SetPosition(row.massFineAdj);
    SBarMagnifX->SetPosition(row.magnifX);
    SBarResol->SetPosition(row.resol);
    SBarPregnene->SetPosition(row.pregnene);
    SBarMetNonenone->SetPosition(row.metNonenone);
    SBarPFK->SetPosition(row.pfk);
    rtfExplanation->clear();
    appendLine(rtfExplanation, TranslateString(QString::fromLatin1(row.explanationKey)));
    announceTourStep(n);
    if (n == TourStepCount)
        BButNext->setEnabled(false);
}

void TfrmExample::ExplainCommandLineSettings()
{
    rtfExplanation->clear();
    appendLine(rtfExplanation, TranslateString(QStringLiteral("CommandLineSettings"),
                                               {QString::number(m_currentTourStep)}));
}

void TfrmExample::BButNextClick()
{
    TourStep(m_currentTourStep < INT_MAX ? m_currentTourStep + 1 : INT_MAX);
}

void TfrmExample::BButResetClick()
{
    TourStep(1);
    BButNext->setEnabled(true);
}

QString TfrmExample::TranslateString(const QString &key, const QStringList &params) const
{
    return cliDemon ? cliDemon->Engine().TranslateString(key, params)
                    : ZelI18n::substituteParams(key, params);
}

void TfrmExample::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmExample::SBarMassChange()
{
    UpdateDisplay();
}

void TfrmExample::SBarMagnifXChange()
{
    UpdateDisplay();
}

void TfrmExample::SBarAmplifChange()
{
    UpdateDisplay();
}

void TfrmExample::SBarPFKChange()
{
    UpdateDisplay();
}

void TfrmExample::SBarPregneneChange()
{
    UpdateDisplay();
}

void TfrmExample::SBarResolChange()
{
    NLabResol->SetValue(SBarResol->Position());
    UpdateDisplay();
}

void TfrmExample::Timer1Timer()
{
    if (!m_held)
        UpdateDisplay();
}

void TfrmExample::BButAboutClick()
{
    if (FrmAbout)
        FrmAbout->exec();
}

void TfrmExample::cliDemonParamsChange()
{
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

void TfrmExample::cmdExitClick()
{
    close();
}
