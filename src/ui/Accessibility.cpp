#include "ui/Accessibility.h"

#include "ui/EventLabel.h"
#include "ui/KeyboardLabel.h"
#include "ui/PlayerChart.h"
#include "ui/ReviewChart.h"
#include "ui/RowHeading.h"

#include <QAccessibleWidget>

namespace {

// A label that acts as a button: its press action (and its toggle action, for
// a check box) is a click.
class ClickableAccessible : public QAccessibleWidget {
public:
    ClickableAccessible(EventLabel *label, QAccessible::Role role) : QAccessibleWidget(label, role) {}

    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (role() == QAccessible::CheckBox)
            names.prepend(toggleAction());
        names.prepend(pressAction());
        return names;
    }

    // The click runs from the event loop, as a button's animated click does:
    // the screen reader gets its answer at once, also when the click goes on
    // to wait for a best-99 name.
    void doAction(const QString &actionName) override
    {
        if (actionName == pressAction() || (actionName == toggleAction() && role() == QAccessible::CheckBox)) {
            auto *label = static_cast<EventLabel *>(widget());
            QMetaObject::invokeMethod(label, [label] { keyboard::click(*label); }, Qt::QueuedConnection);
        } else {
            QAccessibleWidget::doAction(actionName);
        }
    }

    QStringList keyBindingsForAction(const QString &actionName) const override
    {
        if (actionName == pressAction() || actionName == toggleAction())
            return {QStringLiteral("Space")};
        return QAccessibleWidget::keyBindingsForAction(actionName);
    }
};

class DieAccessible : public ClickableAccessible {
public:
    explicit DieAccessible(DieBox *die) : ClickableAccessible(die, QAccessible::CheckBox) {}

    QAccessible::State state() const override
    {
        QAccessible::State s = ClickableAccessible::state();
        s.checkable = true;
        s.checked = static_cast<const DieBox *>(object())->isMarked();
        return s;
    }
};

class RowAccessible : public ClickableAccessible {
public:
    explicit RowAccessible(RowHeading *row) : ClickableAccessible(row, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override
    {
        const auto *row = static_cast<const RowHeading *>(object());
        if (t == QAccessible::Name && row->accessibleName().isEmpty())
            return row->text();
        if (t == QAccessible::Description && row->accessibleDescription().isEmpty() && row->describeCell)
            return row->describeCell();
        return ClickableAccessible::text(t);
    }
};

// Qt asks with each class name of the object's chain, most derived first, and
// keeps the answer for the object's life.
QAccessibleInterface *controlInterface(const QString &className, QObject *object)
{
    if (className == QLatin1String("DieBox")) {
        if (auto *die = qobject_cast<DieBox *>(object))
            return new DieAccessible(die);
    } else if (className == QLatin1String("RowHeading")) {
        if (auto *row = qobject_cast<RowHeading *>(object))
            return new RowAccessible(row);
    } else if (className == QLatin1String("ReviewChart")) {
        if (auto *chart = qobject_cast<ReviewChart *>(object))
            return new QAccessibleWidget(chart, QAccessible::Chart);
    } else if (className == QLatin1String("PlayerChart")) {
        if (auto *chart = qobject_cast<PlayerChart *>(object))
            return new QAccessibleWidget(chart, QAccessible::Chart);
    }
    return nullptr;
}

} // namespace

void installAccessibleControls()
{
    static const bool installed = [] {
        QAccessible::installFactory(controlInterface);
        return true;
    }();
    (void)installed;
}

void announceCheckedChange(QWidget *die)
{
    if (!QAccessible::isActive())
        return;
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(die, changed);
    QAccessible::updateAccessibility(&event);
}
