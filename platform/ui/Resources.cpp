#include "platform/ui/Resources.h"

#include <QImage>
#include <QImageReader>

#include <map>
#include <mutex>

namespace ui {
namespace {

struct Registry {
    std::mutex mutex;
    std::map<int, const DialogTemplate*> dialogs;
    std::map<int, const MenuTemplate*> menus;
    std::map<int, ImageResource> bitmaps;
    std::map<int, ImageResource> icons;
};

Registry& TheRegistry()
{
    static Registry registry;
    return registry;
}

} // namespace

void InstallResources(const ResourceTable& table)
{
    Registry& r = TheRegistry();
    std::lock_guard lock(r.mutex);
    for (const DialogTemplate* dialog : table.dialogs)
        r.dialogs[dialog->id] = dialog;
    for (const MenuTemplate* menu : table.menus)
        r.menus[menu->id] = menu;
    for (const ImageResource& image : table.images)
        (image.kind == ImageKind::Bitmap ? r.bitmaps : r.icons)[image.id] = image;
}

const DialogTemplate* FindDialogTemplate(int id)
{
    Registry& r = TheRegistry();
    std::lock_guard lock(r.mutex);
    auto it = r.dialogs.find(id);
    return it == r.dialogs.end() ? nullptr : it->second;
}

const MenuTemplate* FindMenuTemplate(int id)
{
    Registry& r = TheRegistry();
    std::lock_guard lock(r.mutex);
    auto it = r.menus.find(id);
    return it == r.menus.end() ? nullptr : it->second;
}

namespace {

// Loads an image in the format its name ends in. Left to find the format itself, the reader
// loads every image plugin (and its libraries) to ask it, on the way to the first window.
QPixmap LoadImageFile(const std::string& path)
{
    const QString name = QString::fromStdString(path);
    const std::size_t dot = path.rfind('.');
    if (dot != std::string::npos) {
        QImageReader reader(name, QByteArray::fromStdString(path.substr(dot + 1)));
        reader.setAutoDetectImageFormat(false);
        const QImage image = reader.read();
        if (!image.isNull())
            return QPixmap::fromImage(image);
    }
    return QPixmap(name);
}

} // namespace

QPixmap LoadBitmap(int id)
{
    std::string path;
    {
        Registry& r = TheRegistry();
        std::lock_guard lock(r.mutex);
        auto it = r.bitmaps.find(id);
        if (it == r.bitmaps.end())
            return {};
        path = it->second.path;
    }
    return LoadImageFile(path);
}

QIcon LoadIcon(int id)
{
    std::string path;
    {
        Registry& r = TheRegistry();
        std::lock_guard lock(r.mutex);
        auto it = r.icons.find(id);
        if (it == r.icons.end())
            return {};
        path = it->second.path;
    }
    const QPixmap pixmap = LoadImageFile(path);
    return pixmap.isNull() ? QIcon() : QIcon(pixmap);
}

} // namespace ui
