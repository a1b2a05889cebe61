// What assistive technology sees of a hyperlink label: a link named by its caption, described
// by its target, that can be pressed.

#include "widgets/Zel_urllab.h"

#include "platform/MessageBox.h"

#include <QAccessibleWidget>
#include <mutex>

namespace {

class TUrlLabAccessible : public QAccessibleWidget
{
public:
    explicit TUrlLabAccessible(TUrlLab *label) : QAccessibleWidget(label, QAccessible::Link) {}

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name:
            return widget()->accessibleName().isEmpty() ? label()->Caption()
                                                        : widget()->accessibleName();
        case QAccessible::Description:
            return label()->URL();
        default:
            return QAccessibleWidget::text(t);
        }
    }

    QStringList actionNames() const override
    {
        return label()->isEnabled() ? QStringList{pressAction()} : QStringList();
    }
    void doAction(const QString &name) override
    {
        if (name != pressAction() || !label()->isEnabled())
            return;
        // The request comes from outside the event loop's exception handler: a link that
        // cannot open is reported here, as a click's error would be.
        try {
            label()->Click();
        } catch (const EZelError &error) {
            showMessage(MessageKind::Error, QString::fromUtf8(error.what()));
        }
    }

private:
    TUrlLab *label() const { return static_cast<TUrlLab *>(widget()); }
};

QAccessibleInterface *urlLabFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("TUrlLab") && object && object->isWidgetType())
        return new TUrlLabAccessible(static_cast<TUrlLab *>(object));
    return nullptr;
}

} // namespace

void TUrlLab::ensureAccessibleFactory()
{
    static std::once_flag once;
    std::call_once(once, [] { QAccessible::installFactory(urlLabFactory); });
}
