// What assistive technology sees of a scroll bar: a slider named by the program, its value in
// the program's units (read and set) and the value as text.

#include "platform/Controls.h"

#include <QAccessibleWidget>
#include <cmath>
#include <mutex>

namespace {

class TScrollBarAccessible : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit TScrollBarAccessible(TScrollBar *bar) : QAccessibleWidget(bar, QAccessible::Slider) {}

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value || t == QAccessible::Description)
            return bar()->valueText();
        return QAccessibleWidget::text(t);
    }

    QVariant currentValue() const override { return bar()->unitsOf(bar()->Position()); }
    void setCurrentValue(const QVariant &value) override
    {
        bool ok = false;
        const double v = value.toDouble(&ok);
        if (ok && !std::isnan(v))
            bar()->SetPosition(bar()->positionOf(v));
    }
    // The units may run against the positions (an amount that grows as the thumb rises).
    QVariant minimumValue() const override { return std::min(endUnits(false), endUnits(true)); }
    QVariant maximumValue() const override { return std::max(endUnits(false), endUnits(true)); }
    QVariant minimumStepSize() const override
    {
        const int p = bar()->Position();
        const int q = p + bar()->SmallChange() <= bar()->Max() ? p + bar()->SmallChange()
                                                               : p - bar()->SmallChange();
        return std::abs(bar()->unitsOf(q) - bar()->unitsOf(p));
    }

private:
    TScrollBar *bar() const { return static_cast<TScrollBar *>(widget()); }
    double endUnits(bool max) const { return bar()->unitsOf(max ? bar()->Max() : bar()->Min()); }
};

QAccessibleInterface *scrollBarFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("TScrollBar") && object && object->isWidgetType())
        return new TScrollBarAccessible(static_cast<TScrollBar *>(object));
    return nullptr;
}

} // namespace

void TScrollBar::ensureAccessibleFactory()
{
    static std::once_flag once;
    std::call_once(once, [] { QAccessible::installFactory(scrollBarFactory); });
}
