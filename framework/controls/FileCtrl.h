#pragma once
// File, folder and drive lists for choosing a working folder and a file in it.
#include "framework/controls/StdCtrls.h"

enum TFileAttr { ftReadOnly, ftHidden, ftSystem, ftVolumeID, ftDirectory, ftArchive, ftNormal };
using TFileType = TSet<TFileAttr>;

class TFileListBox : public TListBox
{
public:
    explicit TFileListBox(TComponent *AOwner);
    const QString &Directory() const { return directory_; }
    void SetDirectory(const QString &v);
    // One or more masks separated by ';', matched without regard to case.
    const QString &Mask() const { return mask_; }
    void SetMask(const QString &v);
    const TFileType &FileType() const { return fileType_; }
    void SetFileType(const TFileType &v);
    // The selected file with its folder, or "" when none is selected.
    QString FileName() const;
    // Re-reads the folder.
    void Update() override;

    TNotifyEvent OnChange;

private:
    QString directory_;
    QString mask_ = QStringLiteral("*.*");
    TFileType fileType_{ftNormal};
};

// The folder and its ancestors, then its sub-folders; opening an entry (double click)
// makes it the folder.
class TDirectoryListBox : public TListBox
{
public:
    explicit TDirectoryListBox(TComponent *AOwner);
    const QString &Directory() const { return directory_; }
    // Raises EInOutError for a folder that does not exist.
    void SetDirectory(const QString &v);
    TFileListBox *FileList() const { return fileList_; }
    void SetFileList(TFileListBox *v);
    TLabel *DirLabel() const { return dirLabel_; }
    void SetDirLabel(TLabel *v);
    // The full path of an entry.
    QString GetItemPath(int Index) const;
    void OpenCurrent();
    void Update() override;

    TNotifyEvent OnChange;

protected:
    void DblClick() override;
    void Notification(TComponent *AComponent, TOperation Operation) override;

private:
    QString directory_;
    std::vector<QString> paths_;
    TFileListBox *fileList_ = nullptr;
    TLabel *dirLabel_ = nullptr;
};

// The drives of the machine: here one, the root of the file system.
class TDriveComboBox : public TComboBox
{
public:
    explicit TDriveComboBox(TComponent *AOwner);
    QChar Drive() const { return QLatin1Char('/'); }
    void SetDrive(QChar v);
    TDirectoryListBox *DirList() const { return dirList_; }
    void SetDirList(TDirectoryListBox *v);

protected:
    void Notification(TComponent *AComponent, TOperation Operation) override;

private:
    TDirectoryListBox *dirList_ = nullptr;
};
