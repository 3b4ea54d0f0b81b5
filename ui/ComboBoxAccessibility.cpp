#include "ComboBoxAccessibility.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLineEdit>

namespace trelmo {
namespace {

// The toolkit's drop-down interface with the name taken from the accessible name or the label; the children are
// the popup list and, for an editable list, its line edit, as the toolkit exposes them.
class ComboBoxAccessible : public QAccessibleWidget {
public:
    explicit ComboBoxAccessible(QComboBox* combo) : QAccessibleWidget(combo, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return CurrentText();
        const QString text = QAccessibleWidget::text(t);
        return t == QAccessible::Name && text.isEmpty() ? CurrentText() : text;
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.editable = Combo()->isEditable();
        return s;
    }

    int childCount() const override { return Combo()->isEditable() ? 2 : 1; }

    QAccessibleInterface* child(int index) const override
    {
        if (index == 0)
            return QAccessible::queryAccessibleInterface(Combo()->view());
        if (index == 1 && Combo()->isEditable())
            return QAccessible::queryAccessibleInterface(Combo()->lineEdit());
        return nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (!child)
            return -1;
        if (child->object() == Combo()->view())
            return 0;
        if (Combo()->isEditable() && child->object() == Combo()->lineEdit())
            return 1;
        return -1;
    }

    // The line edit of an editable list never has the focus itself (the list is its focus proxy).
    QAccessibleInterface* focusChild() const override { return Combo()->isEditable() ? child(1) : nullptr; }

    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }

    void doAction(const QString& actionName) override
    {
        if (actionName != showMenuAction() && actionName != pressAction())
            return;
        if (Combo()->view()->isVisible())
            Combo()->hidePopup();
        else
            Combo()->showPopup();
    }

    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QComboBox* Combo() const { return static_cast<QComboBox*>(widget()); }
    QString CurrentText() const
    {
        return Combo()->isEditable() && Combo()->lineEdit() ? Combo()->lineEdit()->text() : Combo()->currentText();
    }
};

QAccessibleInterface* ComboBoxFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("QComboBox") && object && object->isWidgetType())
        return new ComboBoxAccessible(static_cast<QComboBox*>(object));
    return nullptr;
}

} // namespace

void InstallComboBoxAccessibility()
{
    [[maybe_unused]] static const bool installed = (QAccessible::installFactory(ComboBoxFactory), true);
}

} // namespace trelmo
