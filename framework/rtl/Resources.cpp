#include "framework/rtl/Resources.h"
#include <QFile>
#include <QHash>
#include <QMutex>

namespace {

struct ResourceTable
{
    QMutex lock;
    QHash<QString, QByteArray> items;
};

ResourceTable &table()
{
    static ResourceTable t;
    return t;
}

QString keyOf(int32_t ResType, const QString &Name) { return QString::number(ResType) + QLatin1Char('/') + Name.toUpper(); }

} // namespace

void RegisterResource(int32_t ResType, const QString &Name, const QByteArray &Data)
{
    QMutexLocker l(&table().lock);
    table().items.insert(keyOf(ResType, Name), Data);
}

void UnregisterResource(int32_t ResType, const QString &Name)
{
    QMutexLocker l(&table().lock);
    table().items.remove(keyOf(ResType, Name));
}

bool FindResourceData(HINSTANCE Instance, const QString &Name, int32_t ResType, QByteArray &Data)
{
    if (Instance != HInstance || Name.isEmpty())
        return false;
    {
        QMutexLocker l(&table().lock);
        auto it = table().items.constFind(keyOf(ResType, Name));
        if (it != table().items.constEnd()) {
            Data = it.value();
            return true;
        }
    }
    QFile f(QStringLiteral(":/%1/%2").arg(ResType).arg(Name.toUpper()));
    if (!f.open(QIODevice::ReadOnly))
        return false;
    Data = f.readAll();
    return true;
}

bool FindResourceData(HINSTANCE Instance, int32_t ResID, int32_t ResType, QByteArray &Data)
{
    return FindResourceData(Instance, QLatin1Char('#') + QString::number(ResID), ResType, Data);
}
