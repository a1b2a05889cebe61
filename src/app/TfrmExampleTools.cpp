// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's classroom tools: hold, the values under the mouse, measuring the resolving
// power with two crosshairs, saving pictures and traces, projector colours, the keys and the
// scope's context menu. All are off at start-up, so the specified picture stays as it is.

#include "app/OwnSubstanceDialog.h"
#include "app/SampleLists.h"
#include "app/TfrmExample.h"
#include "app/TraceExport.h"
#include "chart/Zel_rchart.h"
#include "platform/Controls.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"

#include <QActionGroup>
#include <QContextMenuEvent>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QStandardPaths>
#include <cmath>
#include <optional>
#include <utility>

namespace {

constexpr TColor darkTrace = 47360;               // green 185 on black
constexpr TColor lightTrace = rgbColor(0, 90, 0); // dark green on white
constexpr TColor measureColour = clRed;

QString massText(double mass)
{
    return QString::number(mass, 'f', 3);
}

// The mass that one pixel of the plot spans at the chart's present x range.
double massPerPixel(const TRChart &chart)
{
    const auto [lo, hi] = chart.layerRangeX(1);
    return std::abs(hi - lo) / std::max(chart.plotWidth(), 1);
}

// A line is the one under the mouse only this near: within two line widths m/R of its centre
// (its triangle reaches one width to either side), or within three pixels where lines are
// narrower than the pixels of a wide window.
double nearnessLimit(double mass, int resolvingPower, double pixel)
{
    return std::max(2 * mass / resolvingPower, 3 * pixel);
}

// What a line gives to the trace at the mouse: its height on the triangle, which falls to zero
// one width m/R from the centre. Of two near lines the one giving more is the one under the
// mouse, so an ion's weak neighbour a few thousandths away (2H beside 13C) does not take the
// name of the line the student points at.
double shareAtMouse(const NamedLine &line, double mass, int resolvingPower)
{
    const double width = line.mz / resolvingPower;
    return line.height * std::max(0.0, 1 - std::abs(line.mz - mass) / width);
}

// A released crosshair snaps to a half-height crossing this many pixels away or nearer.
constexpr int snapPixels = 5;
// A line whose top stands lower than this (five times the noise's standard deviation) has
// flanks too ragged to snap to.
constexpr double snapMinimumTop = 0.05;

// The half-height crossing nearest to x of the line whose flank lies at x, interpolated
// between the two samples around it. The line's top is the highest sample within its
// half-base m/R plus the search reach on either side of x; from the top the trace is followed
// down on each side to the first sample below half the top.
std::optional<double> halfHeightCrossing(const TraceModel &model, double x, int resolvingPower,
                                         double reach)
{
    const auto s = model.samples();
    const int n = int(s.size());
    const int k = model.nearestSampleIndex(x) - 1;
    if (k < 0)
        return std::nullopt;
    const double spacing = (s[n - 1].x - s[0].x) / (n - 1);
    const int span = int(std::ceil((x / resolvingPower + reach) / spacing));
    const int from = std::max(k - span, 0), to = std::min(k + span, n - 1);
    int top = from;
    for (int i = from; i <= to; ++i)
        if (s[i].y > s[top].y)
            top = i;
    const double half = s[top].y / 2;
    if (s[top].y < snapMinimumTop)
        return std::nullopt;
    const auto crossing = [&](int step) -> std::optional<double> {
        int i = top;
        while (i + step >= 0 && i + step < n && s[i + step].y >= half)
            i += step;
        const int out = i + step;
        if (out < 0 || out >= n)
            return std::nullopt;
        return s[i].x + (half - s[i].y) * (s[out].x - s[i].x) / (s[out].y - s[i].y);
    };
    std::optional<double> best;
    for (const std::optional<double> &c : {crossing(-1), crossing(+1)})
        if (c && std::abs(*c - x) <= reach && (!best || std::abs(*c - x) < std::abs(*best - x)))
            best = c;
    return best;
}

void placeLabel(TTextLabel &label, int x, int y)
{
    label.SetAttachToData(Zel::tlamNone);
    label.SetPosX(x);
    label.SetPosY(y);
    label.SetAlignment(Zel::taLeftJustify);
    label.SetVerticalAlignment(Zel::vaTop);
    label.SetMode(Zel::tlBox);
    label.SetColorBkg(clInfoBk);
    label.SetColorBorder(clBlack);
    label.Font()->SetColor(clBlack);
    label.SetVisible(false);
}

// Where a saved file starts: the desktop's folder for its kind (the home folder when that does
// not exist), with a name that tells the tour step and the time, such as
// "ionograph-step2-2025-03-14-093012.png".
QString suggestedSavePath(QStandardPaths::StandardLocation folder, int tourStep,
                          const char *extension)
{
    QString dir = QStandardPaths::writableLocation(folder);
    if (dir.isEmpty() || !QFileInfo(dir).isDir())
        dir = QDir::homePath();
    const QString time = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    return QDir(dir).filePath(
        QStringLiteral("ionograph-step%1-%2.%3")
            .arg(QString::number(tourStep), time, QString::fromLatin1(extension)));
}

QAction *addCheckable(QMenu *menu, const char *key, const std::function<void(bool)> &toggled)
{
    QAction *action = menu->addAction(QString::fromLatin1(key));
    action->setCheckable(true);
    QObject::connect(action, &QAction::toggled, menu, toggled);
    return action;
}

} // namespace

void TfrmExample::buildScopeTools()
{
    // The menu belongs to the chart, which publishes it as its PopupMenu; its texts are
    // dictionary keys like every caption.
    m_scopeMenu = new QMenu(RCScope);
    m_scopeMenu->setObjectName(QStringLiteral("ScopeMenu"));
    m_holdAction = addCheckable(m_scopeMenu, "BF_Hold", [this](bool on) { SetHold(on); });
    // Space is the window's key (keyPressEvent); shown here, it acts only in the open menu.
    m_holdAction->setShortcut(Qt::Key_Space);
    m_holdAction->setShortcutContext(Qt::WidgetShortcut);
    m_readoutAction =
        addCheckable(m_scopeMenu, "BF_ValuesUnderMouse", [this](bool on) { SetMouseReadout(on); });
    m_measureAction = addCheckable(m_scopeMenu, "BF_MeasureResolvingPower",
                                   [this](bool on) { SetMeasuring(on); });
    m_coloursAction =
        addCheckable(m_scopeMenu, "BF_ProjectorColours", [this](bool on) { SetLightColours(on); });
    m_scopeMenu->addSeparator();
    const auto command = [this](const char *key, QKeySequence keys, auto slot) {
        QAction *action = m_scopeMenu->addAction(QString::fromLatin1(key));
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action); // the keys work while the menu is closed
        connect(action, &QAction::triggered, this, slot);
    };
    command("BF_OwnSubstance", QKeySequence(Qt::CTRL | Qt::Key_U),
            [this] { ShowOwnSubstanceDialog(); });
    command("BF_SavePicture", QKeySequence(Qt::CTRL | Qt::Key_S), [this] { SavePicture(); });
    command("BF_SaveTrace", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
            [this] { SaveTrace(); });
    QMenu *sizes = m_scopeMenu->addMenu(QStringLiteral("BF_DisplaySize"));
    sizes->setObjectName(QStringLiteral("DisplaySizeMenu"));
    auto *sizeGroup = new QActionGroup(sizes);
    for (size_t i = 0; i < DisplaySizes.size(); ++i) {
        const double factor = DisplaySizes[i];
        QAction *action =
            sizes->addAction(QStringLiteral("BF_DisplaySize%1").arg(std::lround(factor * 100)));
        action->setCheckable(true);
        sizeGroup->addAction(action);
        connect(action, &QAction::triggered, this, [this, factor] {
            if (factor != m_displaySize && OnDisplaySizeChosen)
                OnDisplaySizeChosen(factor);
            SetDisplaySize(m_displaySize); // the check stays on the size that runs
        });
        m_displaySizeActions[i] = action;
    }
    SetDisplaySize(m_displaySize);
    m_scopeMenu->addSeparator();
    command("BF_Next", QKeySequence(Qt::Key_N), [this] { BButNext->click(); });
    command("BF_Reset", QKeySequence(Qt::Key_R), [this] { BButReset->click(); });
    command("BF_About", QKeySequence(Qt::Key_F1), [this] { BButAbout->click(); });
    RCScope->SetPopupMenu(m_scopeMenu);
    m_ownSubstanceDialog = new TfrmOwnSubstance(*this);

    // A click on a button leaves the focus where it was, so that Space keeps holding; the
    // buttons stay tab stops, pressed with Space when reached by the keyboard.
    for (TBitBtn *button : {cmdExit, BButNext, BButReset, BButAbout})
        button->setFocusPolicy(Qt::TabFocus);
    BButNext->setToolTip(QStringLiteral("BF_TipNext"));
    BButReset->setToolTip(QStringLiteral("BF_TipReset"));
    BButAbout->setToolTip(QStringLiteral("BF_TipAbout"));
    // The sliders' own context menus would hide the scope's from the keyboard.
    for (TScrollBar *slider : {SBarAmplif, SBarMass, SBarMassFineAdj, SBarMagnifX, SBarResol,
                               SBarPregnene, SBarMetNonenone, SBarPFK})
        slider->setContextMenuPolicy(Qt::NoContextMenu);

    placeLabel(*RCScope->TextLabel(MouseReadoutLabel), RCScope->MarginLeft() + 4,
               RCScope->MarginTop() + 3);
    placeLabel(*RCScope->TextLabel(MeasurementLabel), RCScope->MarginLeft() + 4,
               RCScope->MarginTop() + 38);
    RCScope->OnMouseMoveInChart = [this](QObject *, bool inPlot, TShiftState, double x, double) {
        showMouseReadout(inPlot, x);
    };
    RCScope->OnMouseLeave = [this](QObject *) { showMouseReadout(false, 0); };
    RCScope->OnCrossHairMove = [this](QObject *, TCrossHair *hair) {
        m_draggedCrossHair = hair;
        showMeasurement();
    };
    RCScope->OnMouseUp = [this](QObject *, Qt::MouseButton button, TShiftState shift, int, int) {
        if (button == Qt::LeftButton)
            releaseCrossHair(!(shift & Input::ssShift));
    };
}

void TfrmExample::redrawTrace()
{
    writeTraceToChart(m_model, sliderPositions(), *RCScope);
}

// ---- hold ---------------------------------------------------------------------------------

double TfrmExample::FrozenNoise::replay(void *frozen)
{
    auto &noise = *static_cast<FrozenNoise *>(frozen);
    const double deviate = noise.deviates[size_t(noise.next)];
    noise.next = (noise.next + 1) % TraceModel::kSampleCount;
    return deviate;
}

void TfrmExample::SetHold(bool on)
{
    if (on == m_held)
        return;
    m_held = on;
    m_holdAction->setChecked(on);
    if (on) {
        // The noise of the trace as it stands: the samples less the same trace without noise.
        TraceModel clean = m_model;
        clean.setNoiseEnabled(false);
        clean.ComputeSpectrum(sliderPositions());
        for (int i = 0; i < TraceModel::kSampleCount; ++i)
            m_frozenNoise.deviates[size_t(i)] =
                (m_model.samples()[size_t(i)].y - clean.samples()[size_t(i)].y) / 0.01;
        m_model.setNoiseSource(FrozenNoise::replay, &m_frozenNoise);
    } else {
        m_model.setNoiseSource(nullptr);
    }
    RCScope->SetCaption(on ? TranslateString(QStringLiteral("Held")) : QString());
}

// ---- the values under the mouse -----------------------------------------------------------

void TfrmExample::SetMouseReadout(bool on)
{
    if (on == m_mouseReadout)
        return;
    m_mouseReadout = on;
    m_readoutAction->setChecked(on);
    if (!on)
        RCScope->TextLabel(MouseReadoutLabel)->SetVisible(false);
}

void TfrmExample::showMouseReadout(bool inPlot, double mass)
{
    TTextLabel &label = *RCScope->TextLabel(MouseReadoutLabel);
    if (!m_mouseReadout || !inPlot) {
        label.SetVisible(false);
        return;
    }
    const int index = m_model.nearestSampleIndex(mass);
    const double signal = index > 0 ? m_model.sample(index).y : 0.0;
    QString text = TranslateString(QStringLiteral("ValueAtMouse"),
                                   {massText(mass), QString::number(signal, 'g', 3)});

    // The line under the mouse among the substances present in the window, if one is near
    // enough to be it.
    const SliderPositions positions = sliderPositions();
    const double pixel = massPerPixel(*RCScope);
    const NamedLine *nearest = nullptr;
    const std::vector<NamedLine> own = m_ownSubstance.namedLines();
    const std::vector<NamedLine> lines =
        linesInWindow(positions, own, [this](const QString &key) { return TranslateString(key); });
    double nearestShare = 0;
    for (const NamedLine &line : lines) {
        const double distance = std::abs(line.mz - mass);
        if (distance > nearnessLimit(line.mz, positions.R, pixel))
            continue;
        // The line giving most at the mouse; where none reaches it, the nearest.
        const double share = shareAtMouse(line, mass, positions.R);
        if (!nearest || share > nearestShare ||
            (share == nearestShare && distance < std::abs(nearest->mz - mass))) {
            nearest = &line;
            nearestShare = share;
        }
    }
    text += QLatin1Char('\n') + (nearest ? TranslateString(QStringLiteral("NearestLine"),
                                                           {nearest->name, massText(nearest->mz)})
                                         : TranslateString(QStringLiteral("NoLineNear")));
    label.SetCaption(text);
    label.SetVisible(true);
}

// ---- measuring ----------------------------------------------------------------------------

void TfrmExample::SetMeasuring(bool on)
{
    if (on == m_measuring)
        return;
    m_measuring = on;
    m_measureAction->setChecked(on);
    TCrossHair *left = RCScope->CrossHair(1);
    TCrossHair *right = RCScope->CrossHair(2);
    if (on) {
        const VisibleWindow window = visibleWindow(sliderPositions());
        const double width = window.XHi - window.XLo;
        for (TCrossHair *hair : {left, right}) {
            hair->SetLayer(1);
            hair->SetColor(measureColour);
            hair->SetMode(Zel::chVert);
        }
        left->SetPosX(window.XLo + 0.4 * width);
        right->SetPosX(window.XLo + 0.6 * width);
        RCScope->SetMouseAction(Zel::maDragCrossH);
        showMeasurement();
    } else {
        // Back to the window's stored settings.
        for (int n : {1, 2}) {
            TCrossHair *hair = RCScope->CrossHair(n);
            hair->SetMode(Zel::chOff);
            hair->SetColor(clBlack);
            hair->SetLayer(n);
        }
        RCScope->SetMouseAction(Zel::maZoomDrag);
        RCScope->TextLabel(MeasurementLabel)->SetVisible(false);
    }
}

void TfrmExample::releaseCrossHair(bool snap)
{
    TCrossHair *hair = std::exchange(m_draggedCrossHair, nullptr);
    if (!m_measuring || !hair)
        return;
    const double reach = snapPixels * massPerPixel(*RCScope);
    if (const std::optional<double> crossing =
            snap ? halfHeightCrossing(m_model, hair->PosX(), SBarResol->Position(), reach)
                 : std::nullopt)
        hair->SetPosX(*crossing);
    showMeasurement();
}

void TfrmExample::showMeasurement()
{
    if (!m_measuring)
        return;
    const double x1 = RCScope->CrossHair(1)->PosX();
    const double x2 = RCScope->CrossHair(2)->PosX();
    const double dm = std::abs(x2 - x1);
    const QString power =
        dm > 0 ? QString::number(std::lround((x1 + x2) / 2 / dm)) : QStringLiteral("\u2013");
    TTextLabel &label = *RCScope->TextLabel(MeasurementLabel);
    label.SetCaption(
        TranslateString(QStringLiteral("Measurement"), {QString::number(dm, 'f', 4), power}));
    label.SetVisible(true);
}

// ---- colours and saving -------------------------------------------------------------------

void TfrmExample::SetLightColours(bool on)
{
    if (on == m_lightColours)
        return;
    m_lightColours = on;
    m_coloursAction->setChecked(on);
    RCScope->SetChartColor(on ? clWhite : clBlack);
    RCScope->SetDataColor(on ? lightTrace : darkTrace);
    redrawTrace();
}

void TfrmExample::SetDisplaySize(double factor)
{
    m_displaySize = factor;
    // A size the menu does not offer (QT_SCALE_FACTOR=1.75) checks none.
    for (size_t i = 0; i < DisplaySizes.size(); ++i)
        m_displaySizeActions[i]->setChecked(DisplaySizes[i] == factor);
}

void TfrmExample::SavePicture()
{
    const QString file = askSaveFileName(
        this, {TranslateString(QStringLiteral("SavePicture")),
               suggestedSavePath(QStandardPaths::PicturesLocation, m_currentTourStep, "png"),
               TranslateString(QStringLiteral("PictureFiles"))});
    QString error;
    if (!file.isEmpty() && !writeSnapshot(*this, size(), file, &error, traceSettings(*this)))
        showMessage(MessageKind::Error,
                    TranslateString(QStringLiteral("SaveFailed"), {file, error}));
}

void TfrmExample::SaveTrace()
{
    const QString file = askSaveFileName(
        this, {TranslateString(QStringLiteral("SaveTrace")),
               suggestedSavePath(QStandardPaths::DocumentsLocation, m_currentTourStep, "csv"),
               TranslateString(QStringLiteral("TraceFiles"))});
    QString error;
    if (!file.isEmpty() && !exportTraceCsv(*this, file, &error))
        showMessage(MessageKind::Error,
                    TranslateString(QStringLiteral("SaveFailed"), {file, error}));
}

// ---- keys and menus -----------------------------------------------------------------------

void TfrmExample::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        SetHold(!m_held);
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TfrmExample::contextMenuEvent(QContextMenuEvent *event)
{
    const QPoint at = event->reason() == QContextMenuEvent::Mouse
                          ? event->globalPos()
                          : RCScope->mapToGlobal(RCScope->rect().center());
    m_scopeMenu->popup(at);
    event->accept();
}
