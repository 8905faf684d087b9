#include "desktop/accessible_roles.h"

#include "desktop/controls.h"
#include "desktop/program_window.h"
#include "desktop/spoken_message.h"

#include <QAccessibleWidget>

namespace {

// Asked with each class name of an object in turn, from its own class up.
QAccessibleInterface* roleFor(const QString& className, QObject* object)
{
    if (className == QLatin1String(ProgramWindow::staticMetaObject.className()))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    if (className == QLatin1String(PictureBox::staticMetaObject.className()))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Pane);
    if (className == QLatin1String(SpokenMessage::staticMetaObject.className()))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
    return nullptr;
}

}  // namespace

void installAccessibleRoles()
{
    static const bool installed = [] {
        QAccessible::installFactory(roleFor);
        return true;
    }();
    (void)installed;
}
