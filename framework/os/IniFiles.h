#pragma once
// INI files: sections of "name=value" lines in Windows-1252 text.
#include "framework/rtl/Classes.h"
#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

class TCustomIniFile : public TObject
{
public:
    explicit TCustomIniFile(const QString &FileName) : fileName_(FileName) {}
    const QString &FileName() const { return fileName_; }

    virtual QString ReadString(const QString &Section, const QString &Ident, const QString &Default) = 0;
    virtual void WriteString(const QString &Section, const QString &Ident, const QString &Value) = 0;
    // Decimal, or hexadecimal written "0x..." or "$..."; Default when missing or not a number.
    int32_t ReadInteger(const QString &Section, const QString &Ident, int32_t Default);
    void WriteInteger(const QString &Section, const QString &Ident, int32_t Value);
    // Any non-zero integer is true.
    bool ReadBool(const QString &Section, const QString &Ident, bool Default);
    void WriteBool(const QString &Section, const QString &Ident, bool Value);
    double ReadFloat(const QString &Section, const QString &Ident, double Default);
    void WriteFloat(const QString &Section, const QString &Ident, double Value);

    // Each replaces the contents of Strings: the names of the values of a section, the names
    // of all sections, and the "name=value" lines of a section.
    virtual void ReadSection(const QString &Section, TStrings *Strings) = 0;
    virtual void ReadSections(TStrings *Strings) = 0;
    virtual void ReadSectionValues(const QString &Section, TStrings *Strings) = 0;
    virtual void EraseSection(const QString &Section) = 0;
    virtual void DeleteKey(const QString &Section, const QString &Ident) = 0;
    bool SectionExists(const QString &Section);
    virtual bool ValueExists(const QString &Section, const QString &Ident);
    virtual void UpdateFile() = 0;

private:
    QString fileName_;
};

// The whole file held in memory; UpdateFile writes it back. Section and value names compare
// without regard to case. A file that is not INI text raises EIniFileException.
class TMemIniFile : public TCustomIniFile
{
public:
    explicit TMemIniFile(const QString &FileName);

    QString ReadString(const QString &Section, const QString &Ident, const QString &Default) override;
    void WriteString(const QString &Section, const QString &Ident, const QString &Value) override;
    // Raises EIniFileException, changing nothing, for a name or value that the file could not
    // give back: empty names, names or values with line breaks, NUL characters, surrounding
    // blanks or broken UTF-16; section names with "]"; value names with "=" or starting with
    // ";", "#" or "[".
    void ReadSection(const QString &Section, TStrings *Strings) override;
    void ReadSections(TStrings *Strings) override;
    void ReadSectionValues(const QString &Section, TStrings *Strings) override;
    void EraseSection(const QString &Section) override;
    void DeleteKey(const QString &Section, const QString &Ident) override;
    void UpdateFile() override;
    void Clear();
    // Replaces the contents by INI text; raises EIniFileException when it is malformed.
    void SetText(const QString &Text);
    QString Text() const;

private:
    // Lookups go through an index on the case-folded name, so that reading or writing n values
    // takes time in proportion to n.
    struct IniSection
    {
        QString name;
        std::vector<std::pair<QString, QString>> values;
        QHash<QString, size_t> index;
        const QString *value(const QString &ident) const;
        void set(const QString &ident, const QString &value);
        void reindex();
    };
    void parse(const QString &Text);
    IniSection *find(const QString &name);
    IniSection &add(const QString &name);
    void reindex();
    std::vector<IniSection> sections_;
    QHash<QString, size_t> sectionIndex_;
};

// Like TMemIniFile, but every change is written to the file at once.
class TIniFile : public TMemIniFile
{
public:
    explicit TIniFile(const QString &FileName) : TMemIniFile(FileName) {}
    void WriteString(const QString &Section, const QString &Ident, const QString &Value) override;
    void EraseSection(const QString &Section) override;
    void DeleteKey(const QString &Section, const QString &Ident) override;
};
