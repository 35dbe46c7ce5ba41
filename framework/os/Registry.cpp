#include "framework/os/Registry.h"
#include <QSettings>
#include <cmath>

namespace {

// Stored names escape the characters the settings store reserves, so that a name starting
// with '%' can only be one of ours: the marker that keeps an empty key and the default value.
const QString keyMarker = QStringLiteral("%k");
const QString defaultValue = QStringLiteral("%d");

QString encodeName(const QString &name)
{
    if (name.isEmpty())
        return defaultValue;
    QString s = name;
    s.replace(QLatin1Char('%'), QStringLiteral("%25"));
    s.replace(QLatin1Char('/'), QStringLiteral("%2F"));
    s.replace(QLatin1Char('\\'), QStringLiteral("%5C"));
    return s;
}

QString decodeName(const QString &stored)
{
    if (stored == defaultValue)
        return QString();
    QString s = stored;
    s.replace(QStringLiteral("%2F"), QStringLiteral("/"));
    s.replace(QStringLiteral("%5C"), QStringLiteral("\\"));
    s.replace(QStringLiteral("%25"), QStringLiteral("%"));
    return s;
}

std::unique_ptr<QSettings> openStore(HKEY root)
{
    const bool machine = root == HKEY_LOCAL_MACHINE;
#ifdef Q_OS_WIN
    auto s = std::make_unique<QSettings>(machine ? QStringLiteral("HKEY_LOCAL_MACHINE") : QStringLiteral("HKEY_CURRENT_USER"),
                                         QSettings::NativeFormat);
#else
    auto s = std::make_unique<QSettings>(QSettings::NativeFormat, machine ? QSettings::SystemScope : QSettings::UserScope,
                                         QStringLiteral("Tarvix"), QStringLiteral("Registry"));
#endif
    // The user's keys must not show the machine's.
    s->setFallbacksEnabled(false);
    return s;
}

[[noreturn]] void setDataFailed(const QString &Name)
{
    throw ERegistryException(QStringLiteral("Failed to set data for '%1'").arg(Name));
}

} // namespace

TRegistry::TRegistry() : store_(openStore(root_)) {}

TRegistry::~TRegistry()
{
    store_->sync();
}

void TRegistry::SetRootKey(HKEY Value)
{
    if (Value != HKEY_CURRENT_USER && Value != HKEY_LOCAL_MACHINE)
        throw ERegistryException(QStringLiteral("Unsupported registry root key $%1").arg(qulonglong(Value), 0, 16));
    CloseKey();
    root_ = Value;
    store_ = openStore(root_);
}

QString TRegistry::CurrentPath() const
{
    QStringList names;
    for (const QString &s : current_)
        names << decodeName(s);
    return names.join(QLatin1Char('\\'));
}

QString TRegistry::groupOf(const QStringList &parts) const
{
    return parts.join(QLatin1Char('/'));
}

QStringList TRegistry::children(const QStringList &parts, bool groups) const
{
    const QString g = groupOf(parts);
    if (!g.isEmpty())
        store_->beginGroup(g);
    QStringList out = groups ? store_->childGroups() : store_->childKeys();
    if (!g.isEmpty())
        store_->endGroup();
    return out;
}

QStringList TRegistry::target(const QString &Key) const
{
    QStringList parts;
    if (!Key.startsWith(QLatin1Char('\\')))
        for (const QString &s : current_)
            parts << decodeName(s);
    parts << Key.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    return parts;
}

std::optional<QStringList> TRegistry::resolve(const QStringList &parts) const
{
    QStringList stored;
    for (const QString &part : parts) {
        const QStringList kids = children(stored, true);
        auto it = std::find_if(kids.begin(), kids.end(),
                               [&](const QString &k) { return decodeName(k).compare(part, Qt::CaseInsensitive) == 0; });
        if (it == kids.end())
            return std::nullopt;
        stored << *it;
    }
    return stored;
}

bool TRegistry::OpenKey(const QString &Key, bool CanCreate)
{
    const QStringList parts = target(Key);
    QStringList stored;
    for (int i = 0; i < parts.size(); ++i) {
        const QStringList kids = children(stored, true);
        auto it = std::find_if(kids.begin(), kids.end(),
                               [&](const QString &k) { return decodeName(k).compare(parts[i], Qt::CaseInsensitive) == 0; });
        if (it != kids.end()) {
            stored << *it;
            continue;
        }
        if (!CanCreate || !store_->isWritable())
            return false;
        for (; i < parts.size(); ++i) {
            stored << encodeName(parts[i]);
            store_->setValue(groupOf(stored) + QLatin1Char('/') + keyMarker, QString());
        }
    }
    current_ = stored;
    readOnly_ = false;
    return true;
}

bool TRegistry::OpenKeyReadOnly(const QString &Key)
{
    auto stored = resolve(target(Key));
    if (!stored)
        return false;
    current_ = *stored;
    readOnly_ = true;
    return true;
}

void TRegistry::flush()
{
    store_->sync();
    if (store_->status() != QSettings::NoError)
        throw ERegistryException(QStringLiteral("Failed to write the registry store %1").arg(store_->fileName()));
}

void TRegistry::CloseKey()
{
    current_.clear();
    readOnly_ = false;
    flush();
}

bool TRegistry::KeyExists(const QString &Key)
{
    return resolve(target(Key)).has_value();
}

bool TRegistry::DeleteKey(const QString &Key)
{
    auto stored = resolve(target(Key));
    if (!stored || stored->isEmpty() || readOnly_ || !store_->isWritable())
        return false;
    store_->remove(groupOf(*stored));
    return true;
}

void TRegistry::GetKeyNames(TStrings *Strings)
{
    const QStringList kids = children(current_, true);
    WithUpdate(*Strings, [&] {
        Strings->Clear();
        for (const QString &k : kids)
            Strings->Add(decodeName(k));
    });
}

void TRegistry::GetValueNames(TStrings *Strings)
{
    const QStringList kids = children(current_, false);
    WithUpdate(*Strings, [&] {
        Strings->Clear();
        for (const QString &k : kids)
            if (k != keyMarker)
                Strings->Add(decodeName(k));
    });
}

std::optional<QString> TRegistry::storedValue(const QString &Name) const
{
    const QStringList kids = children(current_, false);
    for (const QString &k : kids)
        if (k != keyMarker && decodeName(k).compare(Name, Qt::CaseInsensitive) == 0
            && (k == defaultValue) == Name.isEmpty())
            return k;
    return std::nullopt;
}

bool TRegistry::ValueExists(const QString &Name)
{
    return storedValue(Name).has_value();
}

bool TRegistry::DeleteValue(const QString &Name)
{
    auto sv = storedValue(Name);
    if (!sv || readOnly_ || !store_->isWritable())
        return false;
    store_->remove(groupOf(current_ + QStringList{*sv}));
    return true;
}

QString TRegistry::ReadString(const QString &Name)
{
    auto sv = storedValue(Name);
    return sv ? store_->value(groupOf(current_ + QStringList{*sv})).toString() : QString();
}

QString TRegistry::readRequired(const QString &Name)
{
    auto sv = storedValue(Name);
    if (!sv)
        throw ERegistryException(QStringLiteral("Failed to get data for '%1'").arg(Name));
    return store_->value(groupOf(current_ + QStringList{*sv})).toString();
}

void TRegistry::write(const QString &Name, const QVariant &Value)
{
    if (readOnly_ || !store_->isWritable())
        setDataFailed(Name);
    // A key deleted while it was open takes no values, as in the original store.
    if (!current_.isEmpty() && !resolve(target(QString())))
        setDataFailed(Name);
    auto sv = storedValue(Name);
    store_->setValue(groupOf(current_ + QStringList{sv ? *sv : encodeName(Name)}), Value);
}

void TRegistry::WriteString(const QString &Name, const QString &Value)
{
    write(Name, Value);
}

int32_t TRegistry::ReadInteger(const QString &Name)
{
    bool ok = false;
    const int v = readRequired(Name).trimmed().toInt(&ok);
    if (!ok)
        throw ERegistryException(QStringLiteral("Invalid data type for '%1'").arg(Name));
    return v;
}

void TRegistry::WriteInteger(const QString &Name, int32_t Value)
{
    write(Name, Value);
}

bool TRegistry::ReadBool(const QString &Name)
{
    return ReadInteger(Name) != 0;
}

void TRegistry::WriteBool(const QString &Name, bool Value)
{
    write(Name, Value ? 1 : 0);
}

double TRegistry::ReadFloat(const QString &Name)
{
    bool ok = false;
    const double v = readRequired(Name).trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        throw ERegistryException(QStringLiteral("Invalid data type for '%1'").arg(Name));
    return v;
}

void TRegistry::WriteFloat(const QString &Name, double Value)
{
    if (!std::isfinite(Value))
        setDataFailed(Name);
    write(Name, QString::number(Value, 'g', 17));
}

// ---------------------------------------------------------------------------------------------

TRegistryIniFile::TRegistryIniFile(const QString &FileName) : TCustomIniFile(FileName), reg_(std::make_unique<TRegistry>())
{
    if (!reg_->OpenKey(FileName, true))
        throw ERegistryException(QStringLiteral("Unable to open registry key ") + FileName);
}

TRegistryIniFile::~TRegistryIniFile() = default;

template <typename F>
bool TRegistryIniFile::inSection(const QString &Section, bool Create, F &&Body)
{
    if (Section.isEmpty()) {
        Body();
        return true;
    }
    const QString base = QLatin1Char('\\') + reg_->CurrentPath();
    if (!reg_->OpenKey(Section, Create))
        return false;
    struct Back
    {
        TRegistry *reg;
        const QString &base;
        ~Back() { reg->OpenKey(base, false); }
    } back{reg_.get(), base};
    Body();
    return true;
}

QString TRegistryIniFile::ReadString(const QString &Section, const QString &Ident, const QString &Default)
{
    QString result = Default;
    inSection(Section, false, [&] {
        if (reg_->ValueExists(Ident))
            result = reg_->ReadString(Ident);
    });
    return result;
}

void TRegistryIniFile::WriteString(const QString &Section, const QString &Ident, const QString &Value)
{
    if (!inSection(Section, true, [&] { reg_->WriteString(Ident, Value); }))
        setDataFailed(Ident);
}

void TRegistryIniFile::ReadSection(const QString &Section, TStrings *Strings)
{
    Strings->Clear();
    inSection(Section, false, [&] { reg_->GetValueNames(Strings); });
}

void TRegistryIniFile::ReadSections(TStrings *Strings)
{
    reg_->GetKeyNames(Strings);
}

void TRegistryIniFile::ReadSectionValues(const QString &Section, TStrings *Strings)
{
    WithUpdate(*Strings, [&] {
        Strings->Clear();
        inSection(Section, false, [&] {
            TStringList names;
            reg_->GetValueNames(&names);
            for (int i = 0; i < names.Count(); ++i)
                Strings->Add(names.Strings(i) + QLatin1Char('=') + reg_->ReadString(names.Strings(i)));
        });
    });
}

void TRegistryIniFile::EraseSection(const QString &Section)
{
    // An empty name would be the file's own key.
    if (!Section.isEmpty())
        reg_->DeleteKey(Section);
}

void TRegistryIniFile::DeleteKey(const QString &Section, const QString &Ident)
{
    inSection(Section, false, [&] { reg_->DeleteValue(Ident); });
}

void TRegistryIniFile::UpdateFile()
{
    const QString base = QLatin1Char('\\') + reg_->CurrentPath();
    reg_->CloseKey();
    reg_->OpenKey(base, false);
}
