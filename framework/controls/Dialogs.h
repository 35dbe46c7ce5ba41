#pragma once
// Message dialogs, input boxes, file dialogs and the shell, all through the dialog seam.
#include "framework/controls/Controls.h"
#include <QStringList>

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp, mbClose };
using TMsgDlgButtons = TSet<TMsgDlgBtn>;
inline const TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
inline const TMsgDlgButtons mbYesNo{mbYes, mbNo};
inline const TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
inline const TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};

// The modal result a button gives.
int MsgDlgBtnResult(TMsgDlgBtn Btn);

// Shows a message with the given buttons; returns the mrXxx of the chosen one. Without an
// answer the default button counts: OK, else Yes, else the first button.
int MessageDlg(const QString &Msg, TMsgDlgType DlgType, const TMsgDlgButtons &Buttons, int HelpCtx = 0);
// A message with an OK button, captioned with the application's title.
void ShowMessage(const QString &Msg);
void MessageBeep(uint32_t Type);
QString InputBox(const QString &ACaption, const QString &APrompt, const QString &ADefault);
bool InputQuery(const QString &ACaption, const QString &APrompt, QString &Value);

enum TOpenOption {
    ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp, ofNoValidate,
    ofAllowMultiSelect, ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofCreatePrompt,
    ofShareAware, ofNoReadOnlyReturn, ofNoTestFileCreate, ofNoNetworkButton, ofNoLongNames,
    ofOldStyleDialog, ofNoDereferenceLinks, ofEnableIncludeNotify, ofEnableSizing, ofDontAddToRecent,
    ofForceShowHidden
};
using TOpenOptions = TSet<TOpenOption>;

class TOpenDialog : public TComponent
{
public:
    explicit TOpenDialog(TComponent *AOwner) : TComponent(AOwner) {}

    const QString &Title() const { return title_; }
    void SetTitle(const QString &v) { title_ = v; }
    // "Text files (*.txt)|*.txt|All files (*.*)|*.*"
    const QString &Filter() const { return filter_; }
    void SetFilter(const QString &v) { filter_ = v; }
    int FilterIndex() const { return filterIndex_; }
    void SetFilterIndex(int v) { filterIndex_ = v; }
    const QString &FileName() const { return fileName_; }
    void SetFileName(const QString &v) { fileName_ = v; }
    const QString &DefaultExt() const { return defaultExt_; }
    void SetDefaultExt(const QString &v) { defaultExt_ = v; }
    const QString &InitialDir() const { return initialDir_; }
    void SetInitialDir(const QString &v) { initialDir_ = v; }
    const TOpenOptions &Options() const { return options_; }
    void SetOptions(const TOpenOptions &v) { options_ = v; }
    const QStringList &Files() const { return files_; }

    // True when a file was chosen: FileName and Files hold it (with DefaultExt added to a
    // name without extension), and, unless ofNoChangeDir, its folder becomes the working
    // directory.
    virtual bool Execute();

protected:
    virtual bool IsSave() const { return false; }

private:
    QString title_;
    QString filter_;
    int filterIndex_ = 1;
    QString fileName_;
    QString defaultExt_;
    QString initialDir_;
    TOpenOptions options_{ofHideReadOnly, ofEnableSizing};
    QStringList files_;
};

class TSaveDialog : public TOpenDialog
{
public:
    explicit TSaveDialog(TComponent *AOwner) : TOpenDialog(AOwner) {}

protected:
    bool IsSave() const override { return true; }
};

// ShellExecute: "open" on a local file or folder opens it with the desktop's program; web
// addresses open only for http, https and mailto. Returns a value above 32 on success,
// SE_ERR_FNF for a missing file and SE_ERR_NOASSOC for anything refused.
constexpr intptr_t SE_ERR_FNF = 2;
constexpr intptr_t SE_ERR_NOASSOC = 31;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOW = 5;
intptr_t ShellExecute(HWND hwnd, const QString &Operation, const QString &File,
                      const QString &Parameters = QString(), const QString &Directory = QString(),
                      int ShowCmd = SW_SHOWNORMAL);
