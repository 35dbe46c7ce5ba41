// The batch mode's directory dialog.
#include "workspace/ChangeDirectory.h"
#include "framework/rtl/SysUtils.h"
#include "workspace/TarvixMain.h"

TChangeDirectory *ChangeDirectory = nullptr;

TChangeDirectory::TChangeDirectory(TComponent *AOwner) : TForm(AOwner)
{
    SetName(QStringLiteral("ChangeDirectory"));
    SetCaption(QStringLiteral("Tarvix Professional: Change Directory"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetBounds(0, 0, 460, 330);

    DriveComboBox1 = new TDriveComboBox(this);
    DriveComboBox1->SetName(QStringLiteral("DriveComboBox1"));
    DriveComboBox1->SetParent(this);
    DriveComboBox1->SetBounds(12, 12, 210, 24);

    DirectoryListBox1 = new TDirectoryListBox(this);
    DirectoryListBox1->SetName(QStringLiteral("DirectoryListBox1"));
    DirectoryListBox1->SetParent(this);
    DirectoryListBox1->SetBounds(12, 44, 210, 230);

    FileListBox1 = new TFileListBox(this);
    FileListBox1->SetName(QStringLiteral("FileListBox1"));
    FileListBox1->SetParent(this);
    FileListBox1->SetBounds(236, 12, 210, 262);
    FileListBox1->SetMask(QStringLiteral("*.txt"));
    FileListBox1->SetFileType(TFileType{ftNormal, ftReadOnly});

    Button1 = new TButton(this);
    Button1->SetName(QStringLiteral("Button1"));
    Button1->SetParent(this);
    Button1->SetCaption(QStringLiteral("&OK"));
    Button1->SetDefault(true);
    Button1->SetBounds(371, 286, 75, 28);

    DriveComboBox1->OnChange = [this](TObject *Sender) { DriveComboBox1Change(Sender); };
    DirectoryListBox1->OnChange = [this](TObject *Sender) { DirectoryListBox1Change(Sender); };
    Button1->OnClick = [this](TObject *Sender) { Button1Click(Sender); };
    OnShow = [this](TObject *Sender) { FormShow(Sender); };
}

void TChangeDirectory::FormShow(TObject *)
{
    DirectoryListBox1->SetDirectory(GetCurrentDir());
    FileListBox1->SetDirectory(DirectoryListBox1->Directory());
    // The folder may have changed since the dialog was last shown.
    DirectoryListBox1->Update();
    FileListBox1->Update();
}

// The one drive, the root, holds every folder: the directory list stays where it is.
void TChangeDirectory::DriveComboBox1Change(TObject *) { FileListBox1->SetDirectory(DirectoryListBox1->Directory()); }

void TChangeDirectory::DirectoryListBox1Change(TObject *)
{
    FileListBox1->SetDirectory(DirectoryListBox1->Directory());
    SetCurrentDir(DirectoryListBox1->Directory());
}

void TChangeDirectory::Button1Click(TObject *)
{
    Tarvix->Memo1->Lines()->Assign(FileListBox1->Items());
    Close();
}
