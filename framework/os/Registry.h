#pragma once
// Registry keys and values over the desktop's native settings store, and an INI view of a key.
#include "framework/os/IniFiles.h"
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QSettings;

using HKEY = uintptr_t;
constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;

// Key paths use '\' between levels; one starting with '\' is absolute, any other is relative
// to the current key. Key and value names compare without regard to case, like the original
// store. Without an open key the root key is the current key.
class TRegistry : public TObject
{
public:
    TRegistry();
    ~TRegistry() override;

    HKEY RootKey() const { return root_; }
    // HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE; closes the current key. Other roots raise
    // ERegistryException.
    void SetRootKey(HKEY Value);
    // The path of the current key below the root, without a leading '\'.
    QString CurrentPath() const;

    // False when the key is missing (and CanCreate is off) or cannot be created; the current
    // key stays as it was then.
    bool OpenKey(const QString &Key, bool CanCreate);
    // Later writes through this object raise ERegistryException.
    bool OpenKeyReadOnly(const QString &Key);
    // Writes pending changes and makes the root the current key.
    void CloseKey();
    bool KeyExists(const QString &Key);
    // Removes the key with everything below it; false when it does not exist.
    bool DeleteKey(const QString &Key);
    // Names of the sub-keys and of the values of the current key (replacing Strings' contents).
    void GetKeyNames(TStrings *Strings);
    void GetValueNames(TStrings *Strings);

    bool ValueExists(const QString &Name);
    bool DeleteValue(const QString &Name);
    // A missing value reads as an empty string.
    QString ReadString(const QString &Name);
    void WriteString(const QString &Name, const QString &Value);
    // Missing values and values that are not numbers raise ERegistryException.
    int32_t ReadInteger(const QString &Name);
    void WriteInteger(const QString &Name, int32_t Value);
    bool ReadBool(const QString &Name);
    void WriteBool(const QString &Name, bool Value);
    double ReadFloat(const QString &Name);
    void WriteFloat(const QString &Name, double Value);

private:
    std::optional<QStringList> resolve(const QStringList &parts) const;
    QStringList target(const QString &Key) const;
    QString groupOf(const QStringList &parts) const;
    QStringList children(const QStringList &parts, bool groups) const;
    std::optional<QString> storedValue(const QString &Name) const;
    QString readRequired(const QString &Name);
    void write(const QString &Name, const QVariant &Value);
    void flush();

    HKEY root_ = HKEY_CURRENT_USER;
    std::unique_ptr<QSettings> store_;
    QStringList current_;  // stored names of the current key's levels
    bool readOnly_ = false;
};

// An INI file kept under a registry key of the current user: sections are sub-keys and
// entries are values. The key is created when missing; failing that raises ERegistryException.
class TRegistryIniFile : public TCustomIniFile
{
public:
    explicit TRegistryIniFile(const QString &FileName);
    ~TRegistryIniFile() override;
    TRegistry *RegIniFile() const { return reg_.get(); }

    QString ReadString(const QString &Section, const QString &Ident, const QString &Default) override;
    void WriteString(const QString &Section, const QString &Ident, const QString &Value) override;
    void ReadSection(const QString &Section, TStrings *Strings) override;
    void ReadSections(TStrings *Strings) override;
    void ReadSectionValues(const QString &Section, TStrings *Strings) override;
    void EraseSection(const QString &Section) override;
    void DeleteKey(const QString &Section, const QString &Ident) override;
    void UpdateFile() override;

private:
    // Runs Body with Section's key current (false when it does not exist and !Create), then
    // returns to the file's key.
    template <typename F>
    bool inSection(const QString &Section, bool Create, F &&Body);
    std::unique_ptr<TRegistry> reg_;
};
