// The program's resources as the UI layer finds them: dialog templates, menus and images by id.
// res/ installs its tables once at start-up; later tables (for example setting pages) add to them.
#pragma once

#include "platform/ui/Template.h"

#include <QIcon>
#include <QPixmap>

#include <vector>

namespace ui {

struct ResourceTable {
    std::vector<const DialogTemplate*> dialogs;
    std::vector<const MenuTemplate*> menus;
    std::vector<ImageResource> images;
};

// Adds the table's entries; an entry whose id is already known replaces the older one. The
// templates must outlive their use (they are normally static data).
void InstallResources(const ResourceTable& table);

// Null when no template has that id.
const DialogTemplate* FindDialogTemplate(int id);
const MenuTemplate* FindMenuTemplate(int id);

// A null pixmap or icon when the image is missing.
QPixmap LoadBitmap(int id);
QIcon LoadIcon(int id);

} // namespace ui
