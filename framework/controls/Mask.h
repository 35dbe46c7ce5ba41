#pragma once
// Masked edits: Delphi edit masks translated to Qt input masks.
#include "framework/controls/StdCtrls.h"
#include <vector>

TARVIX_DECLARE_EXCEPTION(EDBEditError, Exception)

// The parts of an edit mask "mask;save-literals;blank".
struct TEditMaskInfo
{
    QString QtMask;               // for QLineEdit::setInputMask, blank character included
    bool SaveLiterals = true;
    QChar Blank = QLatin1Char('_');
    std::vector<bool> Literal;    // per text position: a literal character of the mask
};
TEditMaskInfo TranslateEditMask(const QString &EditMask);

class TCustomMaskEdit : public TCustomEdit
{
public:
    explicit TCustomMaskEdit(TComponent *AOwner);

    const QString &EditMask() const { return editMask_; }
    void SetEditMask(const QString &v);
    bool IsMasked() const { return !editMask_.isEmpty(); }
    // The text as shown, literals and blanks included.
    QString EditText() const;
    void SetEditText(const QString &v);
    // Raises EDBEditError when a required position is empty.
    virtual void ValidateEdit();

protected:
    // Without saved literals, Text leaves out the mask's literal characters.
    QString GetText() const override;
    void CMExit(TMessage &Message) override;

private:
    QString editMask_;
    TEditMaskInfo info_;
};

class TMaskEdit : public TCustomMaskEdit
{
public:
    explicit TMaskEdit(TComponent *AOwner) : TCustomMaskEdit(AOwner) {}
};
