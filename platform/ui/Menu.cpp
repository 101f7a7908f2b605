#include "platform/ui/Menu.h"
#include "platform/ui/UserAction.h"

#include "platform/ui/Resources.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace ui {
namespace {

using CommandHandler = std::function<void(int)>;

void AddItems(QWidget* menu, const std::vector<MenuItem>& items, const CommandHandler& onCommand)
{
    for (const MenuItem& item : items) {
        const QString caption = QString::fromStdString(item.caption);
        if (!item.items.empty()) {
            auto* popup = new QMenu(caption, menu);
            AddItems(popup, item.items, onCommand);
            menu->addAction(popup->menuAction());
        } else if (item.command != 0) {
            auto* action = new QAction(caption, menu);
            action->setData(item.command);
            QObject::connect(action, &QAction::triggered, menu,
                             [onCommand, command = item.command, caption = item.caption] {
                                 RunUserAction(CommandLabel(caption), [&] { onCommand(command); });
                             });
            menu->addAction(action);
        } else if (auto* popup = qobject_cast<QMenu*>(menu)) {
            popup->addSeparator();
        }
    }
}

} // namespace

bool LoadMenu(QMenuBar* bar, int menuId, std::function<void(int command)> onCommand)
{
    const MenuTemplate* menu = FindMenuTemplate(menuId);
    if (!menu || !bar)
        return false;
    AddItems(bar, menu->items, onCommand);
    return true;
}

} // namespace ui
