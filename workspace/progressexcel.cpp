#include "workspace/progressexcel.h"

TExcelstatus *Excelstatus = nullptr;

TExcelstatus::TExcelstatus(TComponent *AOwner) : TForm(AOwner)
{
    SetName(QStringLiteral("Excelstatus"));
    SetCaption(QStringLiteral("Tarvix Professional: Excel Import-Export Status"));
    SetBorderStyle(bsDialog);
    SetPosition(poMainFormCenter);
    SetBounds(0, 0, 380, 80);

    ProgressBar1 = new TProgressBar(this);
    ProgressBar1->SetName(QStringLiteral("ProgressBar1"));
    ProgressBar1->SetParent(this);
    ProgressBar1->SetBounds(16, 20, 340, 20);
}
