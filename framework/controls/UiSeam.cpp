#include "framework/controls/UiSeam.h"
#include "framework/controls/Dialogs.h"
#include "framework/controls/Forms.h"
#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

namespace {

TUiScript *g_script = nullptr;

bool offscreen()
{
    return QGuiApplication::platformName() == QLatin1String("offscreen") ||
           QGuiApplication::platformName() == QLatin1String("minimal");
}

// The platform's buttons of each MB_ type, first one the default.
std::vector<int> boxButtons(uint32_t flags)
{
    switch (flags & 0xF) {
    case MB_OKCANCEL: return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE: return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL: return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO: return {IDYES, IDNO};
    case MB_RETRYCANCEL: return {IDRETRY, IDCANCEL};
    default: return {IDOK};
    }
}

int boxDefault(uint32_t flags)
{
    const auto b = boxButtons(flags);
    const size_t n = (flags >> 8) & 0xF;
    return b[n < b.size() ? n : 0];
}

void record(const TUiRecord &r)
{
    if (g_script)
        g_script->Record(r);
    else
        UnscriptedUiRecords().push_back(r);
}

QMessageBox::StandardButton qtButtonOf(int id)
{
    switch (id) {
    case IDOK: return QMessageBox::Ok;
    case IDCANCEL: return QMessageBox::Cancel;
    case IDABORT: return QMessageBox::Abort;
    case IDRETRY: return QMessageBox::Retry;
    case IDIGNORE: return QMessageBox::Ignore;
    case IDYES: return QMessageBox::Yes;
    case IDNO: return QMessageBox::No;
    case mrAll: return QMessageBox::YesToAll;
    case mrNoToAll: return QMessageBox::NoToAll;
    case mrYesToAll: return QMessageBox::YesToAll;
    case mrHelp: return QMessageBox::Help;
    case mrClose: return QMessageBox::Close;
    default: return QMessageBox::NoButton;
    }
}

int showQtBox(const QString &text, const QString &caption, QMessageBox::Icon icon, const std::vector<int> &buttons, int def)
{
    QMessageBox box(icon, caption, text);
    std::map<QAbstractButton *, int> ids;
    for (int id : buttons) {
        QAbstractButton *b = box.addButton(qtButtonOf(id));
        ids[b] = id;
        if (id == def)
            box.setDefaultButton(static_cast<QPushButton *>(b));
    }
    box.exec();
    auto it = ids.find(box.clickedButton());
    return it == ids.end() ? (std::find(buttons.begin(), buttons.end(), IDCANCEL) != buttons.end() ? IDCANCEL : def)
                           : it->second;
}

QString qtFilter(const QString &filter, int index, QString *selected)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString masks = QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '));
        out << parts[i] + QStringLiteral(" (") + masks + QLatin1Char(')');
        if (i / 2 + 1 == index && selected)
            *selected = out.back();
    }
    return out.join(QStringLiteral(";;"));
}

}  // namespace

std::vector<TUiRecord> &UnscriptedUiRecords()
{
    static std::vector<TUiRecord> r;
    return r;
}

int UiMessageBox(const QString &Text, const QString &Caption, uint32_t Flags)
{
    int answer = boxDefault(Flags);
    if (g_script) {
        if (!g_script->answers_.empty()) {
            answer = g_script->answers_.front();
            g_script->answers_.pop_front();
        }
    } else if (!offscreen()) {
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        switch (Flags & 0xF0) {
        case MB_ICONSTOP: icon = QMessageBox::Critical; break;
        case MB_ICONQUESTION: icon = QMessageBox::Question; break;
        case MB_ICONWARNING: icon = QMessageBox::Warning; break;
        case MB_ICONINFORMATION: icon = QMessageBox::Information; break;
        default: break;
        }
        answer = showQtBox(Text, Caption, icon, boxButtons(Flags), boxDefault(Flags));
    }
    record({TUiKind::MessageBox, Text, Caption, Flags, answer});
    return answer;
}

int UiMessageDlg(const QString &Text, const QString &Caption, int Type, uint32_t Buttons, int Default)
{
    int answer = Default;
    if (g_script) {
        if (!g_script->answers_.empty()) {
            answer = g_script->answers_.front();
            g_script->answers_.pop_front();
        }
    } else if (!offscreen()) {
        static const QMessageBox::Icon icons[] = {QMessageBox::Warning, QMessageBox::Critical,
                                                  QMessageBox::Information, QMessageBox::Question,
                                                  QMessageBox::NoIcon};
        std::vector<int> ids;
        for (int b = 0; b < 16; ++b)
            if (Buttons & (1u << b))
                ids.push_back(MsgDlgBtnResult(static_cast<TMsgDlgBtn>(b)));
        answer = showQtBox(Text, Caption, icons[Type >= 0 && Type < 5 ? Type : 4], ids, Default);
    }
    record({TUiKind::MessageDlg, Text, Caption, uint32_t(Type), answer});
    return answer;
}

std::optional<QStringList> UiFileDialog(const TFileDialogRequest &Request)
{
    const TUiKind kind = Request.Save ? TUiKind::SaveFile : TUiKind::OpenFile;
    std::optional<QStringList> result;
    if (g_script) {
        if (!g_script->files_.empty()) {
            if (g_script->files_.front())
                result = QStringList{*g_script->files_.front()};
            g_script->files_.pop_front();
        }
    } else if (!offscreen()) {
        QString selected;
        const QString filter = qtFilter(Request.Filter, Request.FilterIndex, &selected);
        QString start = Request.InitialDir;
        if (!Request.FileName.isEmpty())
            start = start.isEmpty() ? Request.FileName : start + QLatin1Char('/') + Request.FileName;
        QFileDialog::Options opts;
        if (!Request.OverwritePrompt)
            opts |= QFileDialog::DontConfirmOverwrite;
        if (Request.Save) {
            const QString f = QFileDialog::getSaveFileName(nullptr, Request.Title, start, filter, &selected, opts);
            if (!f.isEmpty())
                result = QStringList{f};
        } else if (Request.AllowMultiSelect) {
            const QStringList f = QFileDialog::getOpenFileNames(nullptr, Request.Title, start, filter, &selected, opts);
            if (!f.isEmpty())
                result = f;
        } else {
            const QString f = QFileDialog::getOpenFileName(nullptr, Request.Title, start, filter, &selected, opts);
            if (!f.isEmpty())
                result = QStringList{f};
        }
    }
    record({kind, Request.Title, result ? result->value(0) : QString(), 0, result ? 1 : 0});
    return result;
}

bool UiInputQuery(const QString &Caption, const QString &Prompt, QString &Value)
{
    bool ok = false;
    if (g_script) {
        if (!g_script->inputs_.empty()) {
            if (g_script->inputs_.front()) {
                Value = *g_script->inputs_.front();
                ok = true;
            }
            g_script->inputs_.pop_front();
        }
    } else if (!offscreen()) {
        const QString v = QInputDialog::getText(nullptr, Caption, Prompt, QLineEdit::Normal, Value, &ok);
        if (ok)
            Value = v;
    }
    record({TUiKind::InputQuery, Prompt, Caption, 0, ok ? 1 : 0});
    return ok;
}

void UiBeep(uint32_t Type)
{
    if (!g_script && !offscreen())
        QApplication::beep();
    record({TUiKind::Beep, QString(), QString(), Type, 0});
}

bool UiShellOpen(const QString &Target)
{
    bool ok;
    if (g_script)
        ok = g_script->shellResult_;
    else if (offscreen())
        ok = false;
    else {
        const QUrl url = QUrl::fromUserInput(Target);
        ok = QDesktopServices::openUrl(url);
    }
    record({TUiKind::Shell, Target, QString(), 0, ok ? 1 : 0});
    return ok;
}

// ---------------------------------------------------------------------------------------------

TUiScript::TUiScript() : outer_(g_script) { g_script = this; }

TUiScript::~TUiScript() { g_script = outer_; }

TUiScript &TUiScript::AnswerNext(int Answer)
{
    answers_.push_back(Answer);
    return *this;
}

TUiScript &TUiScript::FileNameNext(const QString &FileName)
{
    files_.push_back(FileName);
    return *this;
}

TUiScript &TUiScript::CancelNext()
{
    files_.push_back(std::nullopt);
    return *this;
}

TUiScript &TUiScript::InputNext(const QString &Value)
{
    inputs_.push_back(Value);
    return *this;
}

TUiScript &TUiScript::InputCancelNext()
{
    inputs_.push_back(std::nullopt);
    return *this;
}

QStringList TUiScript::Messages() const
{
    QStringList r;
    for (const TUiRecord &rec : records_)
        if (rec.Kind == TUiKind::MessageBox || rec.Kind == TUiKind::MessageDlg)
            r << rec.Text;
    return r;
}

std::vector<TUiRecord> TUiScript::RecordsOf(TUiKind Kind) const
{
    std::vector<TUiRecord> r;
    for (const TUiRecord &rec : records_)
        if (rec.Kind == Kind)
            r.push_back(rec);
    return r;
}
