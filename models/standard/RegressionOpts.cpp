// The regression test's options dialog.
#include "models/standard/RegressionOpts.h"

TRegressionOpts *RegressionOpts = nullptr;

TRegressionOpts::TRegressionOpts(TComponent *AOwner)
    : TTwoColumnOpts(AOwner, "RegressionOpts", QStringLiteral("Tarvix Professional: Regression Options"),
                     "XvariableCList", QStringLiteral("&X variable:"), "YvariableCList", QStringLiteral("&Y variable:"),
                     CurrentX_Column, CurrentY_Column),
      XvariableLabel(firstLabel_), YvariableLabel(secondLabel_), XvariableCList(first_), YvariableCList(second_)
{
}
