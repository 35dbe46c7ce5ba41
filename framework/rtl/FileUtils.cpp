// Files and folders.
#include "framework/rtl/SysUtils.h"
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

bool FileExists(const QString &FileName)
{
    const QFileInfo fi(FileName);
    return !FileName.isEmpty() && fi.exists() && !fi.isDir();
}

bool DirectoryExists(const QString &Directory)
{
    return !Directory.isEmpty() && QFileInfo(Directory).isDir();
}

bool CreateDir(const QString &Dir) { return !Dir.isEmpty() && QDir().mkdir(Dir); }

bool ForceDirectories(const QString &Dir)
{
    if (Dir.isEmpty())
        return false;
    return QDir().mkpath(Dir);
}

bool RemoveDir(const QString &Dir) { return !Dir.isEmpty() && QDir().rmdir(Dir); }

bool DeleteFile(const QString &FileName) { return FileExists(FileName) && QFile::remove(FileName); }

bool RenameFile(const QString &OldName, const QString &NewName)
{
    // Like the original, an existing target is not replaced.
    if (QFileInfo::exists(NewName))
        return false;
    return QDir().rename(OldName, NewName);
}

QString ExpandFileName(const QString &FileName)
{
    if (FileName.isEmpty())
        return QString();
    QString r = QDir::cleanPath(QDir::current().absoluteFilePath(FileName));
    // A trailing delimiter is part of the name the caller gave.
    if (FileName.endsWith(PathDelim) && !r.endsWith(PathDelim))
        r += PathDelim;
    return r;
}

QString ExtractFileName(const QString &FileName)
{
    return FileName.mid(FileName.lastIndexOf(PathDelim) + 1);
}

QString ExtractFilePath(const QString &FileName)
{
    return FileName.left(FileName.lastIndexOf(PathDelim) + 1);
}

QString ExtractFileDir(const QString &FileName)
{
    const qsizetype at = FileName.lastIndexOf(PathDelim);
    if (at < 0)
        return QString();
    // The root keeps its delimiter.
    return at == 0 ? FileName.left(1) : FileName.left(at);
}

QString ExtractFileExt(const QString &FileName)
{
    const qsizetype dot = FileName.lastIndexOf(QLatin1Char('.'));
    if (dot < 0 || dot < FileName.lastIndexOf(PathDelim))
        return QString();
    return FileName.mid(dot);
}

QString ChangeFileExt(const QString &FileName, const QString &Extension)
{
    const QString ext = ExtractFileExt(FileName);
    return FileName.left(FileName.size() - ext.size()) + Extension;
}

QString IncludeTrailingPathDelimiter(const QString &S)
{
    return S.endsWith(PathDelim) ? S : S + PathDelim;
}

QString ExcludeTrailingPathDelimiter(const QString &S)
{
    QString r = S;
    if (r.size() > 1 && r.endsWith(PathDelim))
        r.chop(1);
    return r;
}

QString GetCurrentDir() { return QDir::currentPath(); }

void SetCurrentDir(const QString &Dir)
{
    if (Dir.isEmpty() || !QDir::setCurrent(Dir))
        throw EInOutError(QStringLiteral("Cannot change to the folder \"%1\"").arg(Dir));
}

namespace {
TDateTime toDateTime(const QDateTime &q)
{
    const QDate d = q.date();
    const QTime t = q.time();
    TDateTime r = 0, tm = 0;
    if (!TryEncodeDate(d.year(), d.month(), d.day(), r))
        return 0;
    TryEncodeTime(t.hour(), t.minute(), t.second(), t.msec(), tm);
    return r + tm;
}
} // namespace

int64_t FileAge(const QString &FileName)
{
    const QFileInfo fi(FileName);
    if (!fi.exists() || fi.isDir())
        return -1;
    return fi.lastModified().toSecsSinceEpoch();
}

bool FileAge(const QString &FileName, TDateTime &FileDateTime)
{
    const QFileInfo fi(FileName);
    if (!fi.exists() || fi.isDir())
        return false;
    FileDateTime = toDateTime(fi.lastModified());
    return true;
}

int64_t FileGetSize(const QString &FileName)
{
    const QFileInfo fi(FileName);
    return fi.exists() && !fi.isDir() ? fi.size() : -1;
}

namespace {

bool fillRecord(TSearchRec &F)
{
    while (!F.Pending.isEmpty()) {
        const QString name = F.Pending.takeFirst();
        const QFileInfo fi(F.Folder + name);
        int attr = 0;
        if (fi.isDir())
            attr |= faDirectory;
        if (fi.isHidden())
            attr |= faHidden;
        if (!fi.isWritable())
            attr |= faReadOnly;
        if (!fi.isDir())
            attr |= faArchive;
        // Plain files always match; folders and hidden entries only when asked for.
        if ((attr & (faDirectory | faHidden | faSysFile) & ~F.Include) != 0)
            continue;
        F.Name = name;
        F.Attr = attr;
        F.Size = fi.isDir() ? 0 : fi.size();
        F.TimeStamp = toDateTime(fi.lastModified());
        return true;
    }
    return false;
}

} // namespace

int FindFirst(const QString &Path, int Attr, TSearchRec &F)
{
    F = TSearchRec();
    F.Folder = ExtractFilePath(Path);
    F.Include = Attr;
    QString mask = ExtractFileName(Path);
    if (mask == QLatin1String("*.*"))
        mask = QStringLiteral("*");
    const QRegularExpression re(QRegularExpression::wildcardToRegularExpression(mask, QRegularExpression::UnanchoredWildcardConversion),
                                QRegularExpression::CaseInsensitiveOption);
    const QRegularExpression anchored(QRegularExpression::anchoredPattern(re.pattern()), re.patternOptions());
    QDir dir(F.Folder.isEmpty() ? QStringLiteral(".") : F.Folder);
    const QStringList all = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                          QDir::Unsorted);
    for (const QString &name : all)
        if (anchored.match(name).hasMatch())
            F.Pending << name;
    return fillRecord(F) ? 0 : 18; // 18: no more files
}

int FindNext(TSearchRec &F) { return fillRecord(F) ? 0 : 18; }

void FindClose(TSearchRec &F) { F.Pending.clear(); }
