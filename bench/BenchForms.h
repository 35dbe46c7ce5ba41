#pragma once
// The main window of the benchmarks that run an analysis through its forms.
#include "workspace/ProgressSims.h"
#include "workspace/TarvixMain.h"

#include <QDir>
#include <QTemporaryDir>

// A form made as the program block makes it.
template <typename T>
T *CreateForm()
{
    T *form = new T(nullptr);
    form->AfterConstruction();
    return form;
}

// The main window and the progress window, in a fresh working directory kept until exit.
inline void StartMainWindow()
{
    static QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    Tarvix = CreateForm<TTarvix>();
    Progress = CreateForm<TProgress>();
}
