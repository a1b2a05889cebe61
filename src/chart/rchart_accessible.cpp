// What assistive technology sees of a chart: one picture with the name and the description
// that the program gives it (what the trace shows). The axis renderers inside are part of the
// picture, not objects of their own.

#include "chart/Zel_rchart.h"

#include <QAccessibleWidget>
#include <mutex>

namespace {

class TRChartAccessible : public QAccessibleWidget
{
public:
    explicit TRChartAccessible(QWidget *chart) : QAccessibleWidget(chart, QAccessible::Chart) {}

    int childCount() const override { return 0; }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
};

QAccessibleInterface *chartFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("TCustomRChart") && object && object->isWidgetType())
        return new TRChartAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

void TCustomRChart::ensureAccessibleFactory()
{
    static std::once_flag once;
    std::call_once(once, [] { QAccessible::installFactory(chartFactory); });
}
