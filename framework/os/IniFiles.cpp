#include "framework/os/IniFiles.h"
#include "framework/rtl/CodePage.h"
#include "framework/rtl/SysUtils.h"
#include <QFile>
#include <QDir>
#include <algorithm>

int32_t TCustomIniFile::ReadInteger(const QString &Section, const QString &Ident, int32_t Default)
{
    QString s = ReadString(Section, Ident, QString()).trimmed();
    if (s.size() > 2 && s[0] == QLatin1Char('0') && (s[1] == QLatin1Char('x') || s[1] == QLatin1Char('X')))
        s = QLatin1Char('$') + s.mid(2);
    return StrToIntDef(s, Default);
}

void TCustomIniFile::WriteInteger(const QString &Section, const QString &Ident, int32_t Value)
{
    WriteString(Section, Ident, QString::number(Value));
}

bool TCustomIniFile::ReadBool(const QString &Section, const QString &Ident, bool Default)
{
    return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const QString &Section, const QString &Ident, bool Value)
{
    WriteString(Section, Ident, Value ? QStringLiteral("1") : QStringLiteral("0"));
}

double TCustomIniFile::ReadFloat(const QString &Section, const QString &Ident, double Default)
{
    double v = Default;
    QString s = ReadString(Section, Ident, QString());
    if (!s.isEmpty() && !TryStrToFloat(s, v))
        v = Default;
    return v;
}

void TCustomIniFile::WriteFloat(const QString &Section, const QString &Ident, double Value)
{
    WriteString(Section, Ident, FloatToStr(Value));
}

namespace {

// Section and value names compare without regard to case.
bool sameName(const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

bool containsName(const TStringList &names, const QString &name)
{
    for (int i = 0; i < names.Count(); ++i)
        if (sameName(names.Strings(i), name))
            return true;
    return false;
}

template <class Values>
auto findValue(Values &values, const QString &name)
{
    return std::find_if(values.begin(), values.end(), [&](const auto &kv) { return sameName(kv.first, name); });
}

} // namespace

bool TCustomIniFile::SectionExists(const QString &Section)
{
    TStringList names;
    ReadSections(&names);
    return containsName(names, Section);
}

bool TCustomIniFile::ValueExists(const QString &Section, const QString &Ident)
{
    TStringList names;
    ReadSection(Section, &names);
    return containsName(names, Ident);
}

// ---------------------------------------------------------------------------------------------

TMemIniFile::TMemIniFile(const QString &FileName) : TCustomIniFile(FileName)
{
    QFile f(FileName);
    if (!f.exists())
        return;
    if (!f.open(QIODevice::ReadOnly))
        throw EIniFileException(QStringLiteral("Cannot read INI file \"%1\": %2").arg(QDir::toNativeSeparators(FileName), f.errorString()));
    try {
        SetText(AnsiToString(f.readAll()));
    } catch (const EIniFileException &e) {
        throw EIniFileException(QStringLiteral("INI file \"%1\" is malformed: %2").arg(QDir::toNativeSeparators(FileName), e.Message()));
    }
}

void TMemIniFile::SetText(const QString &Text)
{
    std::vector<IniSection> parsed;
    size_t current = 0;
    const QStringList lines = LfLineBreaks(Text).split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        const auto bad = [&](const QString &why) {
            throw EIniFileException(QStringLiteral("line %1 %2: \"%3\"").arg(i + 1).arg(why, lines[i]));
        };
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.contains(QChar(0)))
            bad(QStringLiteral("contains a NUL character"));
        if (line.startsWith(QLatin1Char('['))) {
            if (!line.endsWith(QLatin1Char(']')))
                bad(QStringLiteral("has a section name without a closing bracket"));
            const QString name = line.mid(1, line.size() - 2).trimmed();
            if (name.isEmpty())
                bad(QStringLiteral("has an empty section name"));
            auto it = std::find_if(parsed.begin(), parsed.end(), [&](const IniSection &s) { return sameName(s.name, name); });
            // A repeated section continues the first one.
            current = size_t(it - parsed.begin());
            if (it == parsed.end())
                parsed.push_back(IniSection{name, {}});
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            bad(QStringLiteral("is neither a section nor a name=value line"));
        if (eq == 0)
            bad(QStringLiteral("has a value without a name"));
        if (parsed.empty())
            bad(QStringLiteral("has a value outside any section"));
        const QString name = line.left(eq).trimmed(), value = line.mid(eq + 1).trimmed();
        auto &vals = parsed[current].values;
        if (findValue(vals, name) == vals.end())
            vals.emplace_back(name, value);
        // The first of repeated names wins, as a lookup would find it.
    }
    sections_ = std::move(parsed);
}

QString TMemIniFile::Text() const
{
    QString out;
    for (const IniSection &s : sections_) {
        out += QLatin1Char('[') + s.name + QLatin1String("]\r\n");
        for (const auto &[k, v] : s.values)
            out += k + QLatin1Char('=') + v + QLatin1String("\r\n");
        out += QLatin1String("\r\n");
    }
    return out;
}

void TMemIniFile::Clear() { sections_.clear(); }

TMemIniFile::IniSection *TMemIniFile::find(const QString &name)
{
    for (IniSection &s : sections_)
        if (sameName(s.name, name))
            return &s;
    return nullptr;
}

QString TMemIniFile::ReadString(const QString &Section, const QString &Ident, const QString &Default)
{
    if (auto *s = find(Section))
        if (auto v = findValue(s->values, Ident); v != s->values.end())
            return v->second;
    return Default;
}

void TMemIniFile::WriteString(const QString &Section, const QString &Ident, const QString &Value)
{
    // Names and values with line breaks (or names with "=") could not be read back.
    if (Section.trimmed().isEmpty() || Section.contains(QLatin1Char(']')) || Section.contains(QLatin1Char('\n')) || Section.contains(QLatin1Char('\r')))
        throw EIniFileException(QStringLiteral("Invalid INI section name \"%1\"").arg(Section));
    if (Ident.trimmed().isEmpty() || Ident.contains(QLatin1Char('=')) || Ident.contains(QLatin1Char('\n')) || Ident.contains(QLatin1Char('\r')))
        throw EIniFileException(QStringLiteral("Invalid INI value name \"%1\"").arg(Ident));
    if (Value.contains(QLatin1Char('\n')) || Value.contains(QLatin1Char('\r')))
        throw EIniFileException(QStringLiteral("INI value \"%1\" cannot hold a line break").arg(Ident));
    IniSection *s = find(Section);
    if (!s) {
        sections_.push_back({Section.trimmed(), {}});
        s = &sections_.back();
    }
    if (auto v = findValue(s->values, Ident); v != s->values.end())
        v->second = Value.trimmed();
    else
        s->values.emplace_back(Ident.trimmed(), Value.trimmed());
}

void TMemIniFile::ReadSection(const QString &Section, TStrings *Strings)
{
    WithUpdate(*Strings, [&] {
        Strings->Clear();
        if (auto *s = find(Section))
            for (const auto &kv : s->values)
                Strings->Add(kv.first);
    });
}

void TMemIniFile::ReadSections(TStrings *Strings)
{
    WithUpdate(*Strings, [&] {
        Strings->Clear();
        for (const IniSection &s : sections_)
            Strings->Add(s.name);
    });
}

void TMemIniFile::ReadSectionValues(const QString &Section, TStrings *Strings)
{
    WithUpdate(*Strings, [&] {
        Strings->Clear();
        if (auto *s = find(Section))
            for (const auto &[k, v] : s->values)
                Strings->Add(k + QLatin1Char('=') + v);
    });
}

void TMemIniFile::EraseSection(const QString &Section)
{
    std::erase_if(sections_, [&](const IniSection &s) { return sameName(s.name, Section); });
}

void TMemIniFile::DeleteKey(const QString &Section, const QString &Ident)
{
    if (auto *s = find(Section))
        std::erase_if(s->values, [&](const auto &kv) { return sameName(kv.first, Ident); });
}

void TMemIniFile::UpdateFile()
{
    QFile f(FileName());
    const QByteArray data = StringToAnsi(Text());
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(data) != data.size())
        throw EIniFileException(QStringLiteral("Cannot write INI file \"%1\": %2").arg(QDir::toNativeSeparators(FileName()), f.errorString()));
}

void TIniFile::WriteString(const QString &Section, const QString &Ident, const QString &Value)
{
    TMemIniFile::WriteString(Section, Ident, Value);
    UpdateFile();
}

void TIniFile::EraseSection(const QString &Section)
{
    TMemIniFile::EraseSection(Section);
    UpdateFile();
}

void TIniFile::DeleteKey(const QString &Section, const QString &Ident)
{
    TMemIniFile::DeleteKey(Section, Ident);
    UpdateFile();
}
