// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window: the oscilloscope chart, the eight sliders that drive the spectrum model,
// the resolution read-out, the tour and command buttons and the explanation pane.

#include "app/AccessibleTexts.h"
#include "app/OwnSubstance.h"
#include "app/TraceModel.h"
#include "platform/Component.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>

class QAction;
class QMenu;
class QTextEdit;
class QTimer;
class TBevel;
class TBitBtn;
class TCrossHair;
class TLabel;
class TNumLab;
class TPanel;
class TRChart;
class TScrollBar;
class TfrmOwnSubstance;
class TkdbDemonClient;

class TfrmExample : public QWidget, public ZelComponent
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
public:
    // The designed client area of the window.
    static constexpr int ClientWidth = 720;
    static constexpr int ClientHeight = 560;

    // dictionaryFile: the dictionary that cliDemon reads when the window's loading ends; empty
    // for the one beside the executable.
    explicit TfrmExample(const QString &dictionaryFile = QString(), QWidget *parent = nullptr);
    ~TfrmExample() override;

    QString Caption() const { return windowTitle(); }
    void SetCaption(const QString &caption) { setWindowTitle(caption); }

    // Recomputes the trace from the sliders and writes it into the chart, in the sliders'
    // window, or in the window of a zoom-drag on the chart while its button is held.
    void UpdateDisplay();
    // The start-up sequence, run when the window is first shown (once): tour step 1, the
    // first trace, then the About box filled in and translated for the current language.
    // When the window is on the screen, the About box is then shown modally over it, once
    // the window has been painted; off the screen (the batch outputs) it is not shown.
    void FormShow();

    // The guided tour. TourStep stores n as the current step; a step from 1 to 5 then moves
    // the eight sliders to its positions (each real change raises the slider's change event)
    // and puts the step's explanation into the pane, and step 5 disables Next. Any other n
    // changes nothing else.
    void TourStep(int n);
    int CurrentTourStep() const { return m_currentTourStep; }
    static constexpr int TourStepCount = 5;
    // The command line moved the sliders away from the step's positions: the pane says so and
    // that Reset starts the tour again, instead of explaining what the screen no longer shows.
    void ExplainCommandLineSettings();

    // The slider positions as the spectrum model reads them.
    SliderPositions sliderPositions() const;
    const TraceModel &model() const { return m_model; }
    TraceModel &model() { return m_model; }
    // How many times the display has been recomputed (for checks of the event wiring).
    int updateCount() const { return m_updateCount; }

    // Event handlers, wired to the controls when the window is built.
    void SBarMassChange();
    void SBarMagnifXChange();
    void SBarAmplifChange();
    void SBarPFKChange();
    void SBarPregneneChange();
    void SBarResolChange();
    void Timer1Timer();
    void cmdExitClick();
    void BButNextClick();
    void BButResetClick();
    void BButAboutClick();
    // Another start handed over its parameters: the running window comes to the front.
    void cliDemonParamsChange();

    // ---- classroom tools, all off until the user turns them on (the scope's context menu,
    // and the keys N, R, Space, Ctrl+S, Ctrl+Shift+S, F1)
    // Hold: the trace stands still (the timer leaves it alone) and the chart's caption says
    // so. A slider move recomputes the trace with the noise frozen as it was when held.
    void SetHold(bool on);
    bool Hold() const { return m_held; }
    // A label in the plot shows the mass and the signal under the mouse, and the line of the
    // substances present that lies nearest within the window ("Ar 39.962") when it is near
    // enough to be the line under the mouse (else that no line is near).
    void SetMouseReadout(bool on);
    bool MouseReadout() const { return m_mouseReadout; }
    // Two vertical crosshairs to drag onto a line's flanks or half-height points; a label
    // shows their distance dm and m/dm. A drag on the scope moves them instead of zooming.
    // Released within a few pixels of a line's flank, a crosshair snaps to the flank's
    // half-height crossing, interpolated between samples; Shift keeps it where it was let go.
    void SetMeasuring(bool on);
    bool Measuring() const { return m_measuring; }
    // Projector colours: a dark trace on a white plot (the axes are black in both schemes).
    void SetLightColours(bool on);
    bool LightColours() const { return m_lightColours; }
    // Ask for a file name and save the window's picture (PNG) or the trace (CSV), both with
    // the settings that made them; a failure is shown in a message box.
    void SavePicture();
    void SaveTrace();
    // The seed the noise was started with, when one was given; saved files record it.
    std::optional<quint64> NoiseSeed() const { return m_noiseSeed; }
    void SetNoiseSeed(std::optional<quint64> seed) { m_noiseSeed = seed; }
    // ---- keyboard and screen readers
    // The Settings dialog: one field per slider in its units, applied as it is typed; Escape
    // puts back the values it opened with (Ctrl+E and the scope's menu).
    void ShowSettings();
    TScrollBar *Slider(SliderKind kind) const;
    // The dictionary's text of a key with parameters, as the accessible texts ask for it.
    TranslateText Translator() const;

    // The scope's context menu, owned by the chart.
    QMenu *ScopeMenu() const { return m_scopeMenu; }

    // ---- display size (the scope menu's 100 to 200 %, --scale)
    // The sizes the menu offers, as factors; the one the program runs at is checked.
    static constexpr std::array<double, 4> DisplaySizes = {1.0, 1.25, 1.5, 2.0};
    void SetDisplaySize(double factor);
    double DisplaySize() const { return m_displaySize; }
    // Another size was chosen. A running program cannot change its scale, so the entry
    // restarts it at that size; the window only reports the choice.
    std::function<void(double factor)> OnDisplaySizeChosen;
    // Off, the start-up sequence leaves the About box closed (a restart has shown it already).
    void SetAboutBoxAtStart(bool on) { m_aboutBoxAtStart = on; }

    // ---- the own substance (the scope menu's "Own substance…", Ctrl+U, --substance)
    // A sum formula and a charge (clamped into 1..3): the isotope pattern is computed here,
    // once per change, and becomes the trace model's fifth list. An empty formula removes the
    // substance. A formula that cannot be read changes nothing and comes back as the error.
    std::optional<FormulaError> SetOwnSubstance(const QString &formula, int charge = 1);
    // Its amount in percent, clamped into 0..100; 0 (the start) leaves it out of the trace.
    void SetOwnSubstanceAmount(int percent);
    const OwnSubstance &ownSubstance() const { return m_ownSubstance; }
    // Opens the dialog (not modal: the trace follows every valid change at once).
    void ShowOwnSubstanceDialog();
    TfrmOwnSubstance *OwnSubstanceDialog() const { return m_ownSubstanceDialog; }
    // The chart's text labels that the tools use.
    static constexpr int MouseReadoutLabel = 1;
    static constexpr int MeasurementLabel = 2;

    // Components, named as in the stored window description.
    TPanel *PContent = nullptr;
    TPanel *Panel1 = nullptr;
    TRChart *RCScope = nullptr;
    TPanel *Panel2 = nullptr;
    TLabel *Label4 = nullptr;
    TScrollBar *SBarAmplif = nullptr;
    TPanel *Panel4 = nullptr;
    TLabel *Label1 = nullptr;
    TLabel *Label2 = nullptr;
    TLabel *Label8 = nullptr;
    TLabel *Label9 = nullptr;
    TScrollBar *SBarMass = nullptr;
    TScrollBar *SBarMassFineAdj = nullptr;
    TScrollBar *SBarMagnifX = nullptr;
    TNumLab *NLabResol = nullptr;
    TScrollBar *SBarResol = nullptr;
    TPanel *pnlCommand = nullptr;
    TBitBtn *cmdExit = nullptr;
    TBitBtn *BButNext = nullptr;
    TBitBtn *BButReset = nullptr;
    TBitBtn *BButAbout = nullptr;
    TLabel *Label5 = nullptr;
    TLabel *Label6 = nullptr;
    TLabel *Label7 = nullptr;
    TLabel *Label3 = nullptr;
    TBevel *Bevel1 = nullptr;
    TBevel *Bevel2 = nullptr;
    TBevel *Bevel3 = nullptr;
    TScrollBar *SBarPregnene = nullptr;
    TScrollBar *SBarMetNonenone = nullptr;
    TScrollBar *SBarPFK = nullptr;
    TPanel *pnlExplain = nullptr;
    QTextEdit *rtfExplanation = nullptr;
    QTimer *Timer1 = nullptr;
    // Gone once the host's quit request has released it (the program then ends).
    QPointer<TkdbDemonClient> cliDemon;

    // The text of a dictionary key in the current language (the key itself when the
    // dictionary lacks it), from cliDemon's engine.
    QString TranslateString(const QString &key, const QStringList &params = {}) const;

protected:
    void showEvent(QShowEvent *event) override;
    // Space holds (keys that a focused control leaves unused reach the window).
    void keyPressEvent(QKeyEvent *event) override;
    // A context request outside the scope (the menu key, a right click elsewhere) opens the
    // scope's menu too.
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void buildForm(const QString &dictionaryFile);
    // Start-up steps 3 to 7: the About box's name, version, home-page address, captions and
    // the texts of the current language.
    void fillAboutBox();
    // Start-up steps 8 and 9.
    void showAboutBoxOverPaintedWindow();
    // The classroom tools' menu, keys and chart events.
    void buildScopeTools();
    void showMouseReadout(bool inPlot, double mass);
    void showMeasurement();
    // The end of a crosshair drag: snap the dragged crosshair, unless told not to.
    void releaseCrossHair(bool snap);
    // Writes the current samples into the chart again, without recomputing them.
    void redrawTrace();
    // Names, value texts, Page steps and the Settings entry; the chart's description follows
    // every change of a slider or of hold, never the noise.
    void buildAccessibility();
    void settingsChanged();
    // The explanation pane tells which step of the tour it explains.
    void announceTourStep(int n);

    TraceModel m_model;
    int m_updateCount = 0;
    bool m_shown = false;
    int m_currentTourStep = 0;

    bool m_held = false;
    // The noise deviates of the held trace, replayed in order by every recomputation.
    struct FrozenNoise
    {
        std::array<double, TraceModel::kSampleCount> deviates{};
        int next = 0;
        // The model's noise source while held: the deviates in order.
        static double replay(void *frozen);
    } m_frozenNoise;
    bool m_mouseReadout = false;
    bool m_measuring = false;
    TCrossHair *m_draggedCrossHair = nullptr; // being dragged, until the button is let go
    bool m_lightColours = false;
    std::optional<quint64> m_noiseSeed;
    OwnSubstance m_ownSubstance;
    TfrmOwnSubstance *m_ownSubstanceDialog = nullptr;
    QMenu *m_scopeMenu = nullptr;
    QAction *m_holdAction = nullptr;
    QAction *m_readoutAction = nullptr;
    QAction *m_measureAction = nullptr;
    QAction *m_coloursAction = nullptr;
    QAction *m_settingsAction = nullptr;
    std::array<QAction *, DisplaySizes.size()> m_displaySizeActions{};
    double m_displaySize = 1;
    bool m_aboutBoxAtStart = true;
    // What the chart's description was made for: the settings, the hold and the own substance.
    struct Described
    {
        SliderPositions positions;
        bool held;
        QString formula;
        int charge, amount;
        bool operator==(const Described &) const = default;
    };
    std::optional<Described> m_described;
};

// The program's main window, set when the entry creates it.
extern TfrmExample *frmExample;
