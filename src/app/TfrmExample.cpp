#include "app/TfrmExample.h"

#include "chart/Zel_rchart.h"
#include "platform/Controls.h"

#include <QShowEvent>
#include <QTextEdit>
#include <QTimer>

TfrmExample *frmExample = nullptr;

TfrmExample::TfrmExample(QWidget *parent) : QWidget(parent)
{
    buildForm();
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
    const SliderPositions positions = sliderPositions();
    updateDisplay(m_model, positions, *RCScope);
}

void TfrmExample::FormShow()
{
    if (m_shown)
        return;
    m_shown = true;
    UpdateDisplay();
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
    setResolutionReadout(SBarResol->Position());
    UpdateDisplay();
}

void TfrmExample::Timer1Timer()
{
    UpdateDisplay();
}

void TfrmExample::cmdExitClick()
{
    close();
}

void TfrmExample::setResolutionReadout(int value)
{
    NLabResol->setText(QStringLiteral("BF_Resolution  %1").arg(value));
}
