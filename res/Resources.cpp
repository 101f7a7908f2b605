#include "res/Resources.h"

#include "platform/ui/Resources.h"
#include "res/Resource.h"
#include "res/Templates.h"

#include <QtGlobal>

// The images are compiled into this library; a static library must register them itself.
static void InitImages()
{
    Q_INIT_RESOURCE(images);
}

namespace res {

void Install()
{
    InitImages();
    ui::ResourceTable table;
    table.dialogs = {&AboutTemplate(),     &MainFormTemplate(), &LogSeqTemplate(),
                     &CommSetupTemplate(), &LogTemplate(),      &LogCommTemplate()};
    for (const auto& pages : {Rv1240PageTemplates(), Rv1250PageTemplates(), Rvqm52PageTemplates(),
                              Rvqm52ColorPageTemplates()})
        table.dialogs.insert(table.dialogs.end(), pages.begin(), pages.end());
    table.menus = {&MainMenuTemplate()};
    table.images = {
        {IDB_SPLASH, ui::ImageKind::Bitmap, ":/vireo/splash.bmp"},
        {IDR_MAINFRAME, ui::ImageKind::Icon, ":/vireo/vireo.png"},
        {IDB_PARTIAL, ui::ImageKind::Bitmap, ":/vireo/partial.png"},
    };
    ui::InstallResources(table);
}

} // namespace res
