#pragma once
// The batch mode's directory dialog: choose the working folder, see its text files, take them
// into the batch list.
#include "framework/controls/FileCtrl.h"
#include "framework/controls/Forms.h"
#include "framework/controls/StdCtrls.h"

class TChangeDirectory : public TForm
{
public:
    explicit TChangeDirectory(TComponent *AOwner);

    TDriveComboBox *DriveComboBox1;
    TDirectoryListBox *DirectoryListBox1;
    TFileListBox *FileListBox1;
    TButton *Button1;

    void FormShow(TObject *Sender);
    void DriveComboBox1Change(TObject *Sender);
    // The folder chosen in the list becomes the working folder.
    void DirectoryListBox1Change(TObject *Sender);
    // Copies the listed files into the main window's batch list and closes.
    void Button1Click(TObject *Sender);
};

extern TChangeDirectory *ChangeDirectory;
