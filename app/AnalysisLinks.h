#pragma once
// The program block's side of the Analyze menu: which analysis answers which command.

// Fills the main window's analysis links; the forms may be created before or after.
void LinkAnalyses();
