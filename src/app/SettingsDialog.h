#pragma once
// The Settings dialog: one field per slider of the main window, in the slider's units. A value
// applies as it is typed or stepped (the slider clamps it, the trace follows at once); Escape
// puts back the values the dialog opened with.

#include "app/AccessibleTexts.h"

#include <QDialog>

#include <array>

class QDoubleSpinBox;
class TfrmExample;

class TSettingsDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TSettingsDialog(TfrmExample &window);

    static constexpr int FieldCount = 8;
    QDoubleSpinBox *Field(SliderKind kind) const;

    // Puts back the sliders as they were when the dialog opened, then closes it.
    void reject() override;

private:
    // Shows the slider's value in its field, without applying it again.
    void showSlider(SliderKind kind);

    TfrmExample &m_window;
    SliderPositions m_opening;
    std::array<QDoubleSpinBox *, FieldCount> m_fields{};
};
