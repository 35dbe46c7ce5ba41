#pragma once
// The names of a workbook's sheets, kept sorted so that they stay unique, and the making of new
// unique and legal sheet names.
#include "framework/rtl/Lists.h"

#include <QString>
#include <cstdint>

struct TWideContainer
{
    QString S;     // the root name
    int32_t n = 0; // numeric suffix, 0 for none
    QString FullName() const { return n == 0 ? S : S + QString::number(n); }
};

// Items are owned TWideContainer pointers, sorted by full name: shorter names first, names of
// equal length by UTF-16 code unit (so the order is case-sensitive).
class TSheetNameList : public TList
{
public:
    ~TSheetNameList() override { Clear(); }

    // Binary search by root name; Index is the position found or the insertion position.
    virtual bool FindRootString(const QString &S, int32_t &Index) const;
    // Binary search by full name; Index is the position found or the insertion position.
    virtual bool FindFullString(const QString &S, int32_t &Index) const;

    // "Sheet name already exists: %s" when present.
    void Add(const QString &aName);
    // A name not yet present, made from aName with a numeric suffix when needed, and recorded.
    QString AddUniqueName(const QString &aName);
    // Raises a list error when the name is not present.
    void DeleteSheet(const QString &SheetName);
    void Rename(const QString &OldName, const QString &NewName);

    // At most 31 characters, none of those a sheet name cannot hold.
    static QString MakeValidSheetName(const QString &aName);

    const TWideContainer *Items(int Index) const { return static_cast<const TWideContainer *>(TList::Items(Index)); }

protected:
    void Notify(void *Ptr, TListNotification Action) override;

private:
    template <class Key> bool Find(const QString &S, int32_t &Index, Key key) const;
    void InsertName(int32_t Index, const QString &Root, int32_t n);
};
