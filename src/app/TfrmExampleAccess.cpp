// SPDX-License-Identifier: GPL-3.0-or-later
// The main window for keyboard and screen-reader users: the sliders' names, value texts in
// units and Page steps, the labels linked to their sliders, the chart's description of what
// the trace shows, the explanation pane's name and the Settings dialog.

#include "app/SettingsDialog.h"
#include "app/TfrmExample.h"
#include "chart/Zel_rchart.h"
#include "platform/Controls.h"

#include <QAccessible>
#include <QAction>
#include <QMenu>
#include <QTextEdit>

namespace {

// Sets a description and tells assistive technology that it changed.
void describe(QWidget *widget, const QString &description)
{
    if (widget->accessibleDescription() == description)
        return;
    widget->setAccessibleDescription(description);
    QAccessibleEvent event(widget, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
}

struct SliderAccess
{
    SliderKind kind;
    const char *nameKey;
    int keyPageStep; // about a twentieth of the span; one mass unit for the coarse mass
};

constexpr SliderAccess sliderAccess[] = {
    {SliderKind::MassCoarse, "BF_MassCoarse", 1000},
    {SliderKind::MassFine, "BF_MassFine", 300},
    {SliderKind::Range, "BF_Range", 12500},
    {SliderKind::Resolution, "BF_Resolution", 100},
    {SliderKind::Amplification, "BF_Amplification", 50},
    {SliderKind::Pfk, "BF_PFK", 5},
    {SliderKind::MethylNonenone, "BF_Nonenone", 5},
    {SliderKind::Pregnene, "BF_Pregnene", 5},
};

} // namespace

TScrollBar *TfrmExample::Slider(SliderKind kind) const
{
    switch (kind) {
    case SliderKind::MassCoarse:
        return SBarMass;
    case SliderKind::MassFine:
        return SBarMassFineAdj;
    case SliderKind::Range:
        return SBarMagnifX;
    case SliderKind::Resolution:
        return SBarResol;
    case SliderKind::Amplification:
        return SBarAmplif;
    case SliderKind::Pfk:
        return SBarPFK;
    case SliderKind::MethylNonenone:
        return SBarMetNonenone;
    case SliderKind::Pregnene:
        break;
    }
    return SBarPregnene;
}

TranslateText TfrmExample::Translator() const
{
    return [this](const QString &key, const QStringList &params) {
        return TranslateString(key, params);
    };
}

void TfrmExample::buildAccessibility()
{
    for (const SliderAccess &access : sliderAccess) {
        TScrollBar *bar = Slider(access.kind);
        bar->setAccessibleName(QString::fromLatin1(access.nameKey));
        bar->SetKeyPageStep(access.keyPageStep);
        const SliderKind kind = access.kind;
        bar->SetValueUnits({[kind](int position) { return sliderUnits(kind, position); },
                            [kind](double units) { return sliderPosition(kind, units); },
                            [this, kind](int position) {
                                SliderPositions p = sliderPositions();
                                positionOf(p, kind) = position;
                                return sliderValueText(kind, p, Translator());
                            }});
        // After the window's own handler: the texts and the description follow every move.
        bar->OnChange = [this, handler = bar->OnChange](TScrollBar *sender) {
            if (handler)
                handler(sender);
            settingsChanged();
        };
    }
    Label1->setBuddy(SBarMass);
    Label8->setBuddy(SBarMass);
    Label9->setBuddy(SBarMassFineAdj);
    Label2->setBuddy(SBarMagnifX);
    Label4->setBuddy(SBarAmplif);
    Label3->setBuddy(SBarPFK);
    Label6->setBuddy(SBarMetNonenone);
    Label7->setBuddy(SBarPregnene);
    RCScope->setAccessibleName(QStringLiteral("BF_Scope"));
    rtfExplanation->setAccessibleName(QStringLiteral("BF_Explanation"));
    connect(m_holdAction, &QAction::toggled, this, [this] { settingsChanged(); });

    // After the tools that change what the trace shows, before saving.
    m_settingsAction = new QAction(QStringLiteral("BF_Settings"), m_scopeMenu);
    m_settingsAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    m_settingsAction->setShortcutContext(Qt::WindowShortcut);
    const QList<QAction *> entries = m_scopeMenu->actions();
    const qsizetype after = entries.indexOf(m_coloursAction);
    m_scopeMenu->insertAction(after + 1 < entries.size() ? entries[after + 1] : nullptr,
                              m_settingsAction);
    addAction(m_settingsAction); // the key works while the menu is closed
    connect(m_settingsAction, &QAction::triggered, this, [this] { ShowSettings(); });
}

void TfrmExample::settingsChanged()
{
    for (const SliderAccess &access : sliderAccess)
        Slider(access.kind)->valueTextChanged();
    const Described now{sliderPositions(), m_held, m_ownSubstance.formula, m_ownSubstance.charge,
                        m_ownSubstance.amount};
    if (m_described == now)
        return;
    m_described = now;
    describe(RCScope,
             scopeDescription(now.positions, now.held, m_ownSubstance.namedLines(), Translator()));
}

void TfrmExample::announceTourStep(int n)
{
    describe(rtfExplanation, TranslateString(QStringLiteral("TourStep"),
                                             {QString::number(n), QString::number(TourStepCount)}));
    settingsChanged(); // also when the step moved no slider
}

void TfrmExample::ShowSettings()
{
    TSettingsDialog dialog(*this);
    dialog.exec();
}
