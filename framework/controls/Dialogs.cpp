#include "framework/controls/Dialogs.h"
#include "framework/controls/Forms.h"
#include "framework/controls/UiSeam.h"
#include <QDir>
#include <QFileInfo>
#include <QUrl>

int MsgDlgBtnResult(TMsgDlgBtn Btn)
{
    static const int results[] = {mrYes, mrNo, mrOk, mrCancel, mrAbort, mrRetry, mrIgnore,
                                  mrAll, mrNoToAll, mrYesToAll, mrHelp, mrClose};
    return results[Btn];
}

int MessageDlg(const QString &Msg, TMsgDlgType DlgType, const TMsgDlgButtons &Buttons, int)
{
    static const char *captions[] = {"Warning", "Error", "Information", "Confirmation"};
    const QString caption = DlgType == mtCustom ? Application->Title() : QLatin1String(captions[DlgType]);
    uint32_t mask = 0;
    int first = -1;
    for (int b = mbYes; b <= mbClose; ++b)
        if (Buttons.Contains(static_cast<TMsgDlgBtn>(b))) {
            mask |= 1u << b;
            if (first < 0)
                first = b;
        }
    int def = mrNone;
    if (Buttons.Contains(mbOK))
        def = mrOk;
    else if (Buttons.Contains(mbYes))
        def = mrYes;
    else if (Buttons.Contains(mbRetry))
        def = mrRetry;
    else if (first >= 0)
        def = MsgDlgBtnResult(static_cast<TMsgDlgBtn>(first));
    return UiMessageDlg(Msg, caption, DlgType, mask, def);
}

void ShowMessage(const QString &Msg)
{
    UiMessageDlg(Msg, Application->Title(), mtCustom, 1u << mbOK, mrOk);
}

void MessageBeep(uint32_t Type)
{
    UiBeep(Type);
}

QString InputBox(const QString &ACaption, const QString &APrompt, const QString &ADefault)
{
    QString v = ADefault;
    if (!InputQuery(ACaption, APrompt, v))
        return ADefault;
    return v;
}

bool InputQuery(const QString &ACaption, const QString &APrompt, QString &Value)
{
    QString v = Value;
    if (!UiInputQuery(ACaption, APrompt, v))
        return false;
    Value = v;
    return true;
}

bool TOpenDialog::Execute()
{
    TFileDialogRequest req;
    req.Save = IsSave();
    req.Title = title_;
    req.Filter = filter_;
    req.FilterIndex = filterIndex_;
    req.InitialDir = initialDir_;
    req.FileName = fileName_;
    req.DefaultExt = defaultExt_;
    req.OverwritePrompt = options_.Contains(ofOverwritePrompt);
    req.FileMustExist = options_.Contains(ofFileMustExist);
    req.AllowMultiSelect = options_.Contains(ofAllowMultiSelect);
    const auto chosen = UiFileDialog(req);
    if (!chosen || chosen->isEmpty())
        return false;
    files_.clear();
    for (QString f : *chosen) {
        if (!defaultExt_.isEmpty() && QFileInfo(f).suffix().isEmpty() && !f.endsWith(QLatin1Char('.'))) {
            QString ext = defaultExt_;
            if (ext.startsWith(QLatin1Char('.')))
                ext.remove(0, 1);
            f += QLatin1Char('.') + ext;
        }
        files_ << QDir::toNativeSeparators(QFileInfo(f).absoluteFilePath());
    }
    fileName_ = files_.front();
    if (!options_.Contains(ofNoChangeDir))
        QDir::setCurrent(QFileInfo(fileName_).absolutePath());
    return true;
}

intptr_t ShellExecute(HWND, const QString &Operation, const QString &File, const QString &, const QString &Directory, int)
{
    if (!Operation.isEmpty() && Operation.compare(QLatin1String("open"), Qt::CaseInsensitive) != 0)
        return SE_ERR_NOASSOC;
    const QString target = File.trimmed();
    if (target.isEmpty())
        return SE_ERR_FNF;
    // Something with a scheme is an address: only web and mail addresses go out.
    const int colon = target.indexOf(QLatin1Char(':'));
    if (colon > 1) {
        const QString scheme = target.left(colon).toLower();
        bool plainScheme = true;
        for (QChar ch : scheme)
            if (!(ch.isLetterOrNumber() || ch == QLatin1Char('+') || ch == QLatin1Char('-') || ch == QLatin1Char('.')))
                plainScheme = false;
        if (plainScheme) {
            if (scheme != QLatin1String("http") && scheme != QLatin1String("https") && scheme != QLatin1String("mailto"))
                return SE_ERR_NOASSOC;
            const QUrl url(target, QUrl::StrictMode);
            if (!url.isValid())
                return SE_ERR_NOASSOC;
            return UiShellOpen(url.toString()) ? 33 : SE_ERR_NOASSOC;
        }
    }
    QFileInfo fi(target);
    if (fi.isRelative() && !Directory.isEmpty())
        fi = QFileInfo(QDir(Directory), target);
    if (!fi.exists())
        return SE_ERR_FNF;
    return UiShellOpen(fi.absoluteFilePath()) ? 33 : SE_ERR_NOASSOC;
}
