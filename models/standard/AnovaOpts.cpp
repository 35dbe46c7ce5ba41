// The one-way ANOVA test's options dialog.
#include "models/standard/AnovaOpts.h"

TAnovaOpts *AnovaOpts = nullptr;

TAnovaOpts::TAnovaOpts(TComponent *AOwner)
    : TTwoColumnOpts(AOwner, "AnovaOpts", QStringLiteral("Tarvix Professional: ANOVA Options"), "LabelsList",
                     QStringLiteral("&Labels:"), "YvariableList", QStringLiteral("&Y variable:"), CurrentLabel_Column,
                     CurrentY_Column),
      LabelsLabel(firstLabel_), YvariableLabel(secondLabel_), LabelsList(first_), YvariableList(second_)
{
}
