// The resize dialog.
#include "workspace/TarvixRestructureMatrix.h"
#include "framework/controls/Dialogs.h"
#include "framework/rtl/SysUtils.h"
#include "workspace/TarvixMain.h"

TTarvixRedoMatrix *TarvixRedoMatrix = nullptr;

TTarvixRedoMatrix::TTarvixRedoMatrix(TComponent *AOwner) : TForm(AOwner)
{
    SetName(QStringLiteral("TarvixRedoMatrix"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetBounds(0, 0, 330, 190);

    auto label = [this](const QString &Caption, int Top) {
        auto *l = new TLabel(this);
        l->SetParent(this);
        l->SetCaption(Caption);
        l->SetBounds(16, Top + 3, 130, 17);
        return l;
    };
    auto edit = [this](const char *Name, int Top) {
        auto *e = new TEdit(this);
        e->SetName(QLatin1String(Name));
        e->SetParent(this);
        e->SetBounds(150, Top, 160, 24);
        return e;
    };
    Label1 = label(QStringLiteral("File:"), 16);
    FileNameEdit = edit("FileNameEdit", 16);
    FileNameEdit->SetReadOnly(true);
    Label2 = label(QStringLiteral("Number of Rows:"), 50);
    Edit1 = edit("Edit1", 50);
    Edit1->SetText(QStringLiteral("5"));
    Label3 = label(QStringLiteral("Number of Columns&"), 84);
    Edit2 = edit("Edit2", 84);
    Edit2->SetText(QStringLiteral("5"));
    Label2->SetFocusControl(Edit1);
    Label3->SetFocusControl(Edit2);

    Button1 = new TButton(this);
    Button1->SetName(QStringLiteral("Button1"));
    Button1->SetParent(this);
    Button1->SetCaption(QStringLiteral("&OK"));
    Button1->SetDefault(true);
    Button1->SetBounds(150, 124, 75, 28);
    Button1->OnClick = [this](TObject *Sender) { Button1Click(Sender); };
    Button2 = new TButton(this);
    Button2->SetName(QStringLiteral("Button2"));
    Button2->SetParent(this);
    Button2->SetCaption(QStringLiteral("&Cancel"));
    Button2->SetCancel(true);
    Button2->SetBounds(235, 124, 75, 28);
    Button2->OnClick = [this](TObject *Sender) { Button2Click(Sender); };
    SetActiveControl(Edit1);
}

void TTarvixRedoMatrix::Init(int32_t Cols, int32_t Rows)
{
    SetCaption(QStringLiteral("Resize Matrix"));
    FileNameEdit->SetText(Tarvix->FileName);
    Old_Rows = Rows - 1;
    Old_Cols = Cols - 1;
    New_Rows = Old_Rows;
    New_Cols = Old_Cols;
    Edit1->SetText(IntToStr(Old_Rows));
    Edit2->SetText(IntToStr(Old_Cols));
    Edit1->SetReadOnly(false);
    Edit2->SetReadOnly(false);
}

void TTarvixRedoMatrix::About()
{
    SetCaption(QStringLiteral("About ") + Tarvix->FileName);
    FileNameEdit->SetText(Tarvix->FileName);
    Edit1->SetText(IntToStr(Tarvix->MainGrid->RowCount() - 1));
    Edit2->SetText(IntToStr(Tarvix->MainGrid->ColCount() - 1));
    Edit1->SetReadOnly(true);
    Edit2->SetReadOnly(true);
}

// Both counts are taken together, so that a half-accepted entry can never be applied.
void TTarvixRedoMatrix::Button1Click(TObject *)
{
    int32_t rows, cols;
    try {
        rows = LeadingInt(Edit1->Text());
        if (rows <= 0) {
            ShowMessage(QStringLiteral("Rows must be >= 1"));
            return;
        }
        cols = LeadingInt(Edit2->Text());
        if (cols <= 0) {
            ShowMessage(QStringLiteral("Cols must be >= 1"));
            return;
        }
    } catch (const Exception &) {
        ShowMessage(QStringLiteral("Settings Error"));
        SetModalResult(mrCancel);
        return;
    }
    New_Rows = rows;
    New_Cols = cols;
    SetModalResult(mrOk);
}

void TTarvixRedoMatrix::Button2Click(TObject *) { SetModalResult(mrCancel); }
