#pragma once
// The small window that shows a workbook import or export under way.
#include "framework/controls/ComCtrls.h"
#include "framework/controls/Forms.h"

class TExcelstatus : public TForm
{
public:
    explicit TExcelstatus(TComponent *AOwner);

    TProgressBar *ProgressBar1;
};

extern TExcelstatus *Excelstatus;
