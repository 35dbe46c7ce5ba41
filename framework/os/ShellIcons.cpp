#include "framework/os/ShellIcons.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QHash>
#include <QIcon>
#include <QMimeDatabase>
#include <QPainter>

namespace {

struct SystemImageLists
{
    TImageList small{16, 16};
    TImageList large{32, 32};
    QHash<QString, int> indexOfKey;
};

SystemImageLists &lists()
{
    static SystemImageLists l;
    return l;
}

QImage iconImage(const QIcon &icon, int size)
{
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    if (!icon.isNull()) {
        QPainter p(&img);
        icon.paint(&p, QRect(0, 0, size, size));
    }
    return img;
}

// Icons are shared by kind (folder, or the file's type), so a kind is added to the lists once.
int indexOf(const QString &key, const QIcon &icon)
{
    auto &l = lists();
    auto it = l.indexOfKey.constFind(key);
    if (it != l.indexOfKey.constEnd())
        return it.value();
    TBitmap s, b;
    s.SetPixelFormat(pf32bit);
    b.SetPixelFormat(pf32bit);
    s.SetImage(iconImage(icon, 16));
    b.SetImage(iconImage(icon, 32));
    l.small.Add(&s, nullptr);
    const int index = l.large.Add(&b, nullptr);
    l.indexOfKey.insert(key, index);
    return index;
}

} // namespace

TCustomImageList *SHGetFileInfo(const QString &Path, uint32_t FileAttributes, TSHFileInfo &Info, uint32_t Flags)
{
    if (!(Flags & SHGFI_SYSICONINDEX))
        return nullptr;
    TCustomImageList *list = (Flags & SHGFI_SMALLICON) ? &lists().small : &lists().large;
    if (Path.isEmpty())
        return list;
    QFileIconProvider provider;
    const QFileInfo fi(Path);
    const bool byAttributes = Flags & SHGFI_USEFILEATTRIBUTES;
    const bool folder = byAttributes ? (FileAttributes & FILE_ATTRIBUTE_DIRECTORY) : fi.isDir();
    if (folder) {
        Info.iIcon = indexOf(QStringLiteral("folder"), provider.icon(QAbstractFileIconProvider::Folder));
        return list;
    }
    QMimeDatabase db;
    const QMimeType mime = byAttributes || !fi.exists() ? db.mimeTypeForFile(fi.fileName(), QMimeDatabase::MatchExtension)
                                                        : db.mimeTypeForFile(fi);
    const QIcon fallback = provider.icon(QAbstractFileIconProvider::File);
    const QIcon icon = QIcon::fromTheme(mime.iconName(), QIcon::fromTheme(mime.genericIconName(), fallback));
    Info.iIcon = indexOf(QStringLiteral("file:") + mime.name(), icon);
    return list;
}
