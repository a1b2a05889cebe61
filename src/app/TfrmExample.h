#pragma once
// The main window: the oscilloscope chart, the eight sliders that drive the spectrum model,
// the resolution read-out, the tour and command buttons and the explanation pane.

#include "app/TraceModel.h"
#include "platform/Component.h"

#include <QPointer>
#include <QWidget>

class QTextEdit;
class QTimer;
class TBevel;
class TBitBtn;
class TLabel;
class TNumLab;
class TPanel;
class TRChart;
class TScrollBar;
class TkdbDemonClient;

class TfrmExample : public QWidget, public ZelComponent
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
public:
    // The designed client area of the window.
    static constexpr int ClientWidth = 720;
    static constexpr int ClientHeight = 560;

    // dictionaryFile: the dictionary that cliDemon reads when the window's loading ends; empty
    // for the one beside the executable.
    explicit TfrmExample(const QString &dictionaryFile = QString(), QWidget *parent = nullptr);
    ~TfrmExample() override;

    QString Caption() const { return windowTitle(); }
    void setCaption(const QString &caption) { setWindowTitle(caption); }

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
    QString TranslateString(const QString &key) const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildForm(const QString &dictionaryFile);
    // Start-up steps 3 to 7: the About box's name, version, home-page address, captions and
    // the texts of the current language.
    void fillAboutBox();
    // Start-up steps 8 and 9.
    void showAboutBoxOverPaintedWindow();

    TraceModel m_model;
    int m_updateCount = 0;
    bool m_shown = false;
    int m_currentTourStep = 0;
};

// The program's main window, set when the entry creates it.
extern TfrmExample *frmExample;
