#pragma once
// Menu items of the analysis windows, built in code.
#include "framework/controls/Menus.h"

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
