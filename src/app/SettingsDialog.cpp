#include "app/SettingsDialog.h"

#include "app/TfrmExample.h"
#include "platform/Controls.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSignalBlocker>
#include <cmath>

namespace {

// The fields in the order of the sliders' tab stops, each with the step of its arrows.
struct FieldRow
{
    SliderKind kind;
    double step;
};

constexpr FieldRow fieldRows[TSettingsDialog::FieldCount] = {
    {SliderKind::MassCoarse, 0.01},  {SliderKind::MassFine, 0.001},  {SliderKind::Range, 0.1},
    {SliderKind::Resolution, 10},    {SliderKind::Amplification, 1}, {SliderKind::Pfk, 1},
    {SliderKind::MethylNonenone, 1}, {SliderKind::Pregnene, 1},
};

int indexOf(SliderKind kind)
{
    for (int i = 0; i < TSettingsDialog::FieldCount; ++i)
        if (fieldRows[i].kind == kind)
            return i;
    return 0;
}

} // namespace

TSettingsDialog::TSettingsDialog(TfrmExample &window)
    : QDialog(&window), m_window(window), m_opening(window.sliderPositions())
{
    setObjectName(QStringLiteral("SettingsDialog"));
    setWindowTitle(window.TranslateString(QStringLiteral("SettingsTitle")));
    const TranslateText translate = window.Translator();
    // Numbers are written as the dictionary's language writes them.
    QLocale locale = localNumber(0.5, 1, translate).contains(QLatin1Char(','))
                         ? QLocale(QLocale::German)
                         : QLocale::c();
    locale.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);

    auto *form = new QFormLayout(this);
    for (int i = 0; i < FieldCount; ++i) {
        const SliderKind kind = fieldRows[i].kind;
        TScrollBar *bar = window.Slider(kind);
        auto *field = new QDoubleSpinBox(this);
        field->setLocale(locale);
        field->setDecimals(sliderDecimals(kind));
        const double a = sliderUnits(kind, bar->Min());
        const double b = sliderUnits(kind, bar->Max());
        field->setRange(std::min(a, b), std::max(a, b));
        field->setSingleStep(fieldRows[i].step);
        // A value beyond an end becomes the end, as on the slider.
        field->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
        if (kind == SliderKind::Amplification) // the field holds the full scale
            field->setPrefix(window.TranslateString(QStringLiteral("FullScale")) +
                             QLatin1Char(' '));
        const QString suffix = sliderUnitSuffix(kind, translate);
        if (!suffix.isEmpty())
            field->setSuffix(QLatin1Char(' ') + suffix);
        field->setAccessibleName(bar->accessibleName());
        form->addRow(bar->accessibleName(), field);
        m_fields[size_t(i)] = field;
        showSlider(kind);
        // The slider clamps and rounds; once the typing ends the field shows what it took.
        connect(field, &QDoubleSpinBox::valueChanged, this,
                [bar, kind](double v) { bar->SetPosition(sliderPosition(kind, v)); });
        connect(field, &QDoubleSpinBox::editingFinished, this, [this, kind] { showSlider(kind); });
    }
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *close = buttons->addButton(window.TranslateString(QStringLiteral("Close")),
                                            QDialogButtonBox::AcceptRole);
    close->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    form->addRow(buttons);
}

QDoubleSpinBox *TSettingsDialog::Field(SliderKind kind) const
{
    return m_fields[size_t(indexOf(kind))];
}

void TSettingsDialog::showSlider(SliderKind kind)
{
    QDoubleSpinBox *field = Field(kind);
    const QSignalBlocker quiet(field);
    field->setValue(sliderUnits(kind, m_window.Slider(kind)->Position()));
}

void TSettingsDialog::reject()
{
    // In the order a tour step sets them.
    const SliderPositions &p = m_opening;
    m_window.SBarAmplif->SetPosition(p.A);
    m_window.SBarMass->SetPosition(p.M);
    m_window.SBarMassFineAdj->SetPosition(p.F);
    m_window.SBarMagnifX->SetPosition(p.X);
    m_window.SBarResol->SetPosition(p.R);
    m_window.SBarPregnene->SetPosition(p.P_preg);
    m_window.SBarMetNonenone->SetPosition(p.P_mnn);
    m_window.SBarPFK->SetPosition(p.P_pfk);
    for (const FieldRow &row : fieldRows)
        showSlider(row.kind);
    QDialog::reject();
}
