#include "framework/os/IniFiles.h"
#include "framework/rtl/Streams.h"
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

// Section and value names compare without regard to case: they meet on their case-folded form.
QString nameKey(const QString &name) { return name.toCaseFolded(); }

bool containsName(const TStringList &names, const QString &name)
{
    const QString key = nameKey(name);
    for (int i = 0; i < names.Count(); ++i)
        if (nameKey(names.Strings(i)) == key)
            return true;
    return false;
}

// Why the file could not give the text back as it was written, or empty when it can.
QString unreadable(const QString &text)
{
    if (text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')))
        return QStringLiteral("holds a line break");
    if (text.contains(QChar(0)))
        return QStringLiteral("holds a NUL character");
    if (text.trimmed() != text)
        return QStringLiteral("begins or ends with a blank");
    if (!QStringView(text).isValidUtf16())
        return QStringLiteral("holds a broken character");
    return QString();
}

} // namespace

const QString *TMemIniFile::IniSection::value(const QString &ident) const
{
    const auto it = index.constFind(nameKey(ident));
    return it == index.cend() ? nullptr : &values[*it].second;
}

void TMemIniFile::IniSection::set(const QString &ident, const QString &v)
{
    const QString key = nameKey(ident);
    if (const auto it = index.constFind(key); it != index.cend()) {
        values[*it].second = v;
        return;
    }
    index.insert(key, values.size());
    values.emplace_back(ident, v);
}

void TMemIniFile::IniSection::reindex()
{
    index.clear();
    for (size_t i = 0; i < values.size(); ++i)
        index.insert(nameKey(values[i].first), i);
}

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
        SetText(TEncoding::DecodeFileText(f.readAll()));
    } catch (const EIniFileException &e) {
        throw EIniFileException(QStringLiteral("INI file \"%1\" is malformed: %2").arg(QDir::toNativeSeparators(FileName), e.Message()));
    }
}

void TMemIniFile::SetText(const QString &Text)
{
    // A malformed text leaves the store as it was.
    std::vector<IniSection> oldSections;
    std::swap(oldSections, sections_);
    QHash<QString, size_t> oldIndex;
    std::swap(oldIndex, sectionIndex_);
    try {
        parse(Text);
    } catch (...) {
        sections_ = std::move(oldSections);
        sectionIndex_ = std::move(oldIndex);
        throw;
    }
}

void TMemIniFile::parse(const QString &Text)
{
    IniSection *current = nullptr;
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
            // A repeated section continues the first one.
            current = find(name);
            if (!current)
                current = &add(name);
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            bad(QStringLiteral("is neither a section nor a name=value line"));
        if (eq == 0)
            bad(QStringLiteral("has a value without a name"));
        if (!current)
            bad(QStringLiteral("has a value outside any section"));
        const QString name = line.left(eq).trimmed(), value = line.mid(eq + 1).trimmed();
        // The first of repeated names wins, as a lookup would find it.
        if (!current->value(name))
            current->set(name, value);
    }
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

void TMemIniFile::Clear()
{
    sections_.clear();
    sectionIndex_.clear();
}

TMemIniFile::IniSection *TMemIniFile::find(const QString &name)
{
    const auto it = sectionIndex_.constFind(nameKey(name));
    return it == sectionIndex_.cend() ? nullptr : &sections_[*it];
}

TMemIniFile::IniSection &TMemIniFile::add(const QString &name)
{
    sectionIndex_.insert(nameKey(name), sections_.size());
    sections_.push_back(IniSection{name, {}, {}});
    return sections_.back();
}

void TMemIniFile::reindex()
{
    sectionIndex_.clear();
    for (size_t i = 0; i < sections_.size(); ++i)
        sectionIndex_.insert(nameKey(sections_[i].name), i);
}

QString TMemIniFile::ReadString(const QString &Section, const QString &Ident, const QString &Default)
{
    if (auto *s = find(Section))
        if (const QString *v = s->value(Ident))
            return *v;
    return Default;
}

void TMemIniFile::WriteString(const QString &Section, const QString &Ident, const QString &Value)
{
    // Only what the file gives back as it was written is stored; anything else is refused
    // before a change, since one bad line would make the whole file unreadable.
    QString why = Section.isEmpty() ? QStringLiteral("is empty") : unreadable(Section);
    if (why.isEmpty() && Section.contains(QLatin1Char(']')))
        why = QStringLiteral("holds \"]\"");
    if (!why.isEmpty())
        throw EIniFileException(QStringLiteral("Invalid INI section name \"%1\": it %2").arg(Section, why));
    why = Ident.isEmpty() ? QStringLiteral("is empty") : unreadable(Ident);
    if (why.isEmpty() && Ident.contains(QLatin1Char('=')))
        why = QStringLiteral("holds \"=\"");
    if (why.isEmpty() && (Ident.startsWith(QLatin1Char(';')) || Ident.startsWith(QLatin1Char('#'))))
        why = QStringLiteral("begins like a comment");
    if (why.isEmpty() && Ident.startsWith(QLatin1Char('[')))
        why = QStringLiteral("begins like a section");
    if (!why.isEmpty())
        throw EIniFileException(QStringLiteral("Invalid INI value name \"%1\": it %2").arg(Ident, why));
    why = unreadable(Value);
    if (!why.isEmpty())
        throw EIniFileException(QStringLiteral("Invalid value of INI name \"%1\": it %2").arg(Ident, why));
    IniSection *s = find(Section);
    if (!s)
        s = &add(Section);
    s->set(Ident, Value);
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
    const QString key = nameKey(Section);
    std::erase_if(sections_, [&](const IniSection &s) { return nameKey(s.name) == key; });
    reindex();
}

void TMemIniFile::DeleteKey(const QString &Section, const QString &Ident)
{
    if (auto *s = find(Section)) {
        const QString key = nameKey(Ident);
        std::erase_if(s->values, [&](const auto &kv) { return nameKey(kv.first) == key; });
        s->reindex();
    }
}

void TMemIniFile::UpdateFile()
{
    QFile f(FileName());
    const QByteArray data = TEncoding::EncodeFileText(Text());
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
