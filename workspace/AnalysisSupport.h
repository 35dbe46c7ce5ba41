#pragma once
// Small pieces every analysis's forms use: menu commands, the weights-file table reader and the
// lenient number reading of option and data cells.
#include "framework/controls/Menus.h"
#include "framework/grids/Grids.h"

#include <QByteArray>
#include <QString>

// A menu item under Parent, owned by Form, that calls Handler of Form when clicked (none: no action).
template <typename TF>
TMenuItem *AddMenuCommand(TF *Form, TMenuItem *Parent, const char *Name, const QString &Caption,
                          void (TF::*Handler)(TObject *) = nullptr)
{
    auto *item = new TMenuItem(Form);
    item->SetName(QLatin1String(Name));
    item->SetCaption(Caption);
    if (Handler) item->OnClick = [Form, Handler](TObject *Sender) { (Form->*Handler)(Sender); };
    Parent->Add(item);
    return item;
}

// Fills Grid from the bytes of a weights file: cells split at single spaces, rows at CR LF, LF
// or CR; a last line without a line end is a row like the others.
void ReadWeightsTable(const QByteArray &Bytes, TStringGrid *Grid);
// The real at the start of a text: the whole text when it is a number, else the longest leading
// part that is one (sign kept), else 0.
double LeadingReal(const QString &S);
