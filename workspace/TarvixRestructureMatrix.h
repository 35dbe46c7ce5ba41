#pragma once
// The resize dialog, also the read-only view of the file name and matrix size.
#include "framework/controls/Forms.h"
#include "framework/controls/StdCtrls.h"
#include <cstdint>

class TTarvixRedoMatrix : public TForm
{
public:
    explicit TTarvixRedoMatrix(TComponent *AOwner);

    TLabel *Label1, *Label2, *Label3;
    TEdit *FileNameEdit;
    TEdit *Edit1;  // data rows
    TEdit *Edit2;  // data columns
    TButton *Button1;
    TButton *Button2;

    // Data rows and columns, without the title row and column.
    int32_t Old_Rows = 0;
    int32_t Old_Cols = 0;
    int32_t New_Rows = 0;
    int32_t New_Cols = 0;

    // Cols and Rows are grid counts, titles included.
    void Init(int32_t Cols, int32_t Rows);
    void About();
    void Button1Click(TObject *Sender);
    void Button2Click(TObject *Sender);
};

extern TTarvixRedoMatrix *TarvixRedoMatrix;
