#include "framework/controls/FileCtrl.h"
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

QString cleanDir(const QString &d)
{
    return QDir::cleanPath(QFileInfo(d.isEmpty() ? QDir::currentPath() : d).absoluteFilePath());
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TFileListBox

TFileListBox::TFileListBox(TComponent *AOwner) : TListBox(AOwner)
{
    SetSorted(true);
    directory_ = cleanDir(QString());
    Update();
}

void TFileListBox::SetDirectory(const QString &v)
{
    const QString d = cleanDir(v);
    if (d == directory_)
        return;
    directory_ = d;
    Update();
    if (OnChange)
        OnChange(this);
}

void TFileListBox::SetMask(const QString &v)
{
    mask_ = v.isEmpty() ? QStringLiteral("*.*") : v;
    Update();
}

void TFileListBox::SetFileType(const TFileType &v)
{
    fileType_ = v;
    Update();
}

void TFileListBox::Update()
{
    QStringList masks;
    for (const QString &m : mask_.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString t = m.trimmed();
        // "*.*" matches names without a dot too, as on the original platform.
        masks << (t == QLatin1String("*.*") ? QStringLiteral("*") : t);
    }
    QDir dir(directory_);
    QDir::Filters filters = QDir::Files;
    if (fileType_.Contains(ftHidden))
        filters |= QDir::Hidden;
    if (fileType_.Contains(ftSystem))
        filters |= QDir::System;
    auto typeWanted = [this](const QFileInfo &fi) {
        return fi.isWritable() ? fileType_.Contains(ftNormal) || fileType_.Contains(ftArchive) : fileType_.Contains(ftReadOnly);
    };
    std::vector<QRegularExpression> patterns;
    for (const QString &m : masks)
        patterns.emplace_back(QRegularExpression::wildcardToRegularExpression(m), QRegularExpression::CaseInsensitiveOption);
    // Masks match without regard to case, as on the original platform.
    QStringList names;
    for (const QFileInfo &fi : dir.entryInfoList(filters, QDir::Name | QDir::IgnoreCase)) {
        if (!typeWanted(fi))
            continue;
        for (const QRegularExpression &re : patterns)
            if (re.match(fi.fileName()).hasMatch()) {
                names << fi.fileName();
                break;
            }
    }
    if (fileType_.Contains(ftDirectory))
        for (const QString &d : dir.entryList(QDir::Dirs | QDir::NoDot, QDir::Name | QDir::IgnoreCase))
            names << QLatin1Char('[') + d + QLatin1Char(']');
    Items()->BeginUpdate();
    Items()->Clear();
    for (const QString &n : names)
        Items()->Add(n);
    Items()->EndUpdate();
}

QString TFileListBox::FileName() const
{
    const int i = ItemIndex();
    if (i < 0)
        return QString();
    return QDir(directory_).filePath(Items()->Get(i));
}

// ---------------------------------------------------------------------------------------------
// TDirectoryListBox

TDirectoryListBox::TDirectoryListBox(TComponent *AOwner) : TListBox(AOwner)
{
    directory_ = cleanDir(QString());
    Update();
}

void TDirectoryListBox::Update()
{
    paths_.clear();
    QStringList names;
    QDir d(directory_);
    std::vector<QString> chain;
    for (QString p = directory_;; ) {
        chain.insert(chain.begin(), p);
        QDir up(p);
        if (!up.cdUp() || up.absolutePath() == p)
            break;
        p = up.absolutePath();
    }
    for (const QString &p : chain) {
        paths_.push_back(p);
        names << (p == QLatin1String("/") ? p : QFileInfo(p).fileName());
    }
    const int current = static_cast<int>(paths_.size()) - 1;
    for (const QString &sub : d.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
        paths_.push_back(d.filePath(sub));
        names << sub;
    }
    Items()->BeginUpdate();
    Items()->Clear();
    for (const QString &n : names)
        Items()->Add(n);
    Items()->EndUpdate();
    SetItemIndex(current);
}

void TDirectoryListBox::SetDirectory(const QString &v)
{
    const QString d = cleanDir(v);
    if (!QFileInfo(d).isDir())
        throw EInOutError(QStringLiteral("Directory not found: %1").arg(v));
    if (d == directory_)
        return;
    directory_ = d;
    Update();
    if (fileList_)
        fileList_->SetDirectory(d);
    if (dirLabel_)
        dirLabel_->SetCaption(d);
    if (OnChange)
        OnChange(this);
}

QString TDirectoryListBox::GetItemPath(int Index) const
{
    if (Index < 0 || Index >= static_cast<int>(paths_.size()))
        ListIndexError(Index);
    return paths_[static_cast<size_t>(Index)];
}

void TDirectoryListBox::OpenCurrent()
{
    if (ItemIndex() >= 0)
        SetDirectory(GetItemPath(ItemIndex()));
}

void TDirectoryListBox::DblClick()
{
    OpenCurrent();
    TListBox::DblClick();
}

void TDirectoryListBox::SetFileList(TFileListBox *v)
{
    if (fileList_)
        fileList_->RemoveFreeNotification(this);
    fileList_ = v;
    if (v) {
        v->FreeNotification(this);
        v->SetDirectory(directory_);
    }
}

void TDirectoryListBox::SetDirLabel(TLabel *v)
{
    if (dirLabel_)
        dirLabel_->RemoveFreeNotification(this);
    dirLabel_ = v;
    if (v) {
        v->FreeNotification(this);
        v->SetCaption(directory_);
    }
}

void TDirectoryListBox::Notification(TComponent *AComponent, TOperation Operation)
{
    TListBox::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == fileList_)
        fileList_ = nullptr;
    if (AComponent == dirLabel_)
        dirLabel_ = nullptr;
}

// ---------------------------------------------------------------------------------------------
// TDriveComboBox

TDriveComboBox::TDriveComboBox(TComponent *AOwner) : TComboBox(AOwner)
{
    SetStyle(csDropDownList);
    Items()->Add(QStringLiteral("/"));
    SetItemIndex(0);
}

void TDriveComboBox::SetDrive(QChar)
{
    // The only drive is the root; choosing it shows the root folder.
    if (dirList_)
        dirList_->SetDirectory(QStringLiteral("/"));
}

void TDriveComboBox::SetDirList(TDirectoryListBox *v)
{
    if (dirList_)
        dirList_->RemoveFreeNotification(this);
    dirList_ = v;
    if (v)
        v->FreeNotification(this);
}

void TDriveComboBox::Notification(TComponent *AComponent, TOperation Operation)
{
    TComboBox::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == dirList_)
        dirList_ = nullptr;
}
