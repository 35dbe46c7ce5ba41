// The runs test's options dialog.
#include "models/standard/RunsTestOpts.h"

TRunsTestOpts *RunsTestOpts = nullptr;

namespace {

TRadioGroup *NewRadioGroup(TWinControl *Parent, TComponent *Owner, const char *Name, const QString &Caption,
                           std::initializer_list<const char *> Items, int Top)
{
    auto *g = new TRadioGroup(Owner);
    g->SetName(QLatin1String(Name));
    g->SetParent(Parent);
    g->SetCaption(Caption);
    g->SetBounds(264, Top, 250, 70);
    for (const char *item : Items) g->Items()->Add(QString::fromUtf8(item));
    g->SetItemIndex(0);
    return g;
}

} // namespace

TRunsTestOpts::TRunsTestOpts(TComponent *AOwner)
    : TTwoColumnOpts(AOwner, "RunsTestOpts", QStringLiteral("Tarvix Professional: Runs Test Options"), "XvariableList",
                     QStringLiteral("&X variable (continuous) :"), "YvariableList",
                     QStringLiteral("&Y variable (discrete) :"), CurrentX_Column, CurrentY_Column),
      XvariableLabel(firstLabel_), YvariableLabel(secondLabel_), XvariableList(first_), YvariableList(second_)
{
    SimulationGroup = NewRadioGroup(PreferencesSheet, this, "SimulationGroup", QStringLiteral("Simulation &Constraints"),
                                    {"Equiprobable", "Proportional"}, 8);
    SamplingAlgorithmGroup = NewRadioGroup(PreferencesSheet, this, "SamplingAlgorithmGroup",
                                           QStringLiteral("Sampling &Algorithm"),
                                           {"Without replacement", "With replacement"}, 86);
    DataTypeGroup = NewRadioGroup(PreferencesSheet, this, "DataTypeGroup",
                                  QStringLiteral("&Data type (continuous variable )"), {"Linear", "Angular"}, 164);
}
