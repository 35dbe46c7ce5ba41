#pragma once
// The one way out to a person: message boxes, file dialogs, input boxes, beeps and shell
// calls. With a TUiScript installed they take preset answers and are recorded; on the
// offscreen platform without a script they are recorded and take their default answer;
// otherwise the real Qt dialogs are shown.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

enum class TUiKind { MessageBox, MessageDlg, OpenFile, SaveFile, InputQuery, Beep, Shell };

struct TUiRecord
{
    TUiKind Kind;
    QString Text;     // the message, the dialog title, the prompt or the shell target
    QString Caption;  // the box's caption; the chosen file name for file dialogs
    uint32_t Flags;   // MB_* flags, the message type, the file dialog options...
    int Answer;       // what the box returned (IDxxx / mrXxx; 1 or 0 for dialogs and shell)
};

// What a file dialog needs from its owner.
struct TFileDialogRequest
{
    bool Save = false;
    QString Title;
    QString Filter;  // "Text files|*.txt|All files|*.*"
    int FilterIndex = 1;
    QString InitialDir;
    QString FileName;
    QString DefaultExt;
    bool OverwritePrompt = false;
    bool FileMustExist = false;
    bool AllowMultiSelect = false;
};

// Message boxes: MB_* flags in, IDOK/IDYES... out.
int UiMessageBox(const QString &Text, const QString &Caption, uint32_t Flags);
// Message dialogs: Type is a TMsgDlgType, Buttons a mask of (1 << TMsgDlgBtn);
// Default is the answer of the default button. Returns the mrXxx of the chosen button.
int UiMessageDlg(const QString &Text, const QString &Caption, int Type, uint32_t Buttons, int Default);
// Returns the chosen file (several for a multi-select open), or nothing when cancelled.
std::optional<QStringList> UiFileDialog(const TFileDialogRequest &Request);
// False when cancelled; Value holds the preset text on entry and the answer on exit.
bool UiInputQuery(const QString &Caption, const QString &Prompt, QString &Value);
void UiBeep(uint32_t Type);
// Opens a document or an address with the desktop; false when it could not.
bool UiShellOpen(const QString &Target);

// Scripts the seam for a test while it lives (scripts nest; the innermost one answers).
class TUiScript
{
public:
    TUiScript();
    ~TUiScript();
    TUiScript(const TUiScript &) = delete;
    TUiScript &operator=(const TUiScript &) = delete;

    // Answers for the next boxes, in order (mrXxx or IDxxx; the two agree for 1 to 7).
    TUiScript &AnswerNext(int Answer);
    // Answers for the next file dialogs: a file name, or a cancel.
    TUiScript &FileNameNext(const QString &FileName);
    TUiScript &CancelNext();
    // Answers for the next input boxes.
    TUiScript &InputNext(const QString &Value);
    TUiScript &InputCancelNext();
    // Shell calls report this result (true by default); nothing is opened.
    void SetShellResult(bool v) { shellResult_ = v; }

    const std::vector<TUiRecord> &Records() const { return records_; }
    void Record(const TUiRecord &r) { records_.push_back(r); }
    // The texts of the message boxes and dialogs shown, in order.
    QStringList Messages() const;
    std::vector<TUiRecord> RecordsOf(TUiKind Kind) const;

private:
    friend int UiMessageBox(const QString &, const QString &, uint32_t);
    friend int UiMessageDlg(const QString &, const QString &, int, uint32_t, int);
    friend std::optional<QStringList> UiFileDialog(const TFileDialogRequest &);
    friend bool UiInputQuery(const QString &, const QString &, QString &);
    friend void UiBeep(uint32_t);
    friend bool UiShellOpen(const QString &);

    TUiScript *outer_;
    std::deque<int> answers_;
    std::deque<std::optional<QString>> files_;
    std::deque<std::optional<QString>> inputs_;
    bool shellResult_ = true;
    std::vector<TUiRecord> records_;
};

// What the seam did without a script on the offscreen platform (for tests to inspect).
std::vector<TUiRecord> &UnscriptedUiRecords();
