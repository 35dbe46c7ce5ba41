#pragma once
// The about box.
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/Forms.h"
#include "framework/controls/StdCtrls.h"

class TTarvixAbout : public TForm
{
public:
    explicit TTarvixAbout(TComponent *AOwner);

    TPanel *Panel1;
    TLabel *ProductName;
    TImage *ProgramIcon;
    TLabel *Comments1;
    TLabel *Comments2;
    TButton *WebButton;
    TButton *OKButton;

    void WebButtonClick(TObject *Sender);
};

// The product's web page, opened by the about box's link button.
extern const QString TarvixWebAddress;

extern TTarvixAbout *TarvixAbout;
