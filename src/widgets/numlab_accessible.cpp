// What assistive technology sees of a read-out: a label named by its left text whose value is
// the number as the field shows it (with the right text, a unit for instance).

#include "widgets/Zel_NumLab.h"

#include <QAccessibleWidget>
#include <mutex>

namespace {

class TNumLabAccessible : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit TNumLabAccessible(TNumLab *label) : QAccessibleWidget(label, QAccessible::StaticText)
    {
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name:
            return widget()->accessibleName().isEmpty() ? label()->LeftText().trimmed()
                                                        : widget()->accessibleName();
        case QAccessible::Value:
        case QAccessible::Description:
            return shownText();
        default:
            return QAccessibleWidget::text(t);
        }
    }

    // A read-out: its value is read, never set.
    QVariant currentValue() const override { return label()->Value(); }
    void setCurrentValue(const QVariant &) override {}
    QVariant minimumValue() const override { return label()->Value(); }
    QVariant maximumValue() const override { return label()->Value(); }
    QVariant minimumStepSize() const override { return 0.0; }

private:
    TNumLab *label() const { return static_cast<TNumLab *>(widget()); }
    QString shownText() const
    {
        if (label()->Empty())
            return QString();
        const QString number = FormatNumLabValue(label()->format(), label()->Value());
        const QString unit = label()->RightText().trimmed();
        return unit.isEmpty() ? number : number + QLatin1Char(' ') + unit;
    }
};

QAccessibleInterface *numLabFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("TNumLab") && object && object->isWidgetType())
        return new TNumLabAccessible(static_cast<TNumLab *>(object));
    return nullptr;
}

} // namespace

void TNumLab::ensureAccessibleFactory()
{
    static std::once_flag once;
    std::call_once(once, [] { QAccessible::installFactory(numLabFactory); });
}
