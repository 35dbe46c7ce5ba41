#pragma once
// The base of cell checkers: a grid runs its cell texts through one to correct them or to mark
// their errors. The base changes nothing; descendants override the two text operations.
#include "framework/rtl/Classes.h"

class TProStringGridCheck : public TComponent
{
public:
    explicit TProStringGridCheck(TComponent *AOwner = nullptr) : TComponent(AOwner) {}

    // The text with its errors marked.
    virtual QString MarkError(int ACol, int ARow, const QString &s) { return s; }
    // The corrected text.
    virtual QString Correct(int ACol, int ARow, const QString &s) { return s; }
    // Called once before and once after a range check.
    virtual void StartCheck() {}
    virtual void StopCheck() {}

    // A range check moves the grid's current cell to each checked cell and back at the end.
    bool GotoCell() const { return FGotoCell; }
    void SetGotoCell(bool v) { FGotoCell = v; }
    // An edited cell's new text goes through Correct before it is validated.
    bool AutoCorrect() const { return FAutoCorrect; }
    void SetAutoCorrect(bool v) { FAutoCorrect = v; }
    // An edited cell's validated text goes through MarkError.
    bool AutoMarkError() const { return FAutoMarkError; }
    void SetAutoMarkError(bool v) { FAutoMarkError = v; }
    // A range check applies Correct, then MarkError, to each cell.
    bool UseCorrect() const { return FUseCorrect; }
    void SetUseCorrect(bool v) { FUseCorrect = v; }
    bool UseMarkError() const { return FUseMarkError; }
    void SetUseMarkError(bool v) { FUseMarkError = v; }

private:
    bool FGotoCell = false;
    bool FAutoCorrect = false;
    bool FAutoMarkError = false;
    bool FUseCorrect = false;
    bool FUseMarkError = false;
};
