#include "xlsAdapter/workbook/duzUSheetNameList.h"

#include "framework/rtl/Exceptions.h"
#include "framework/rtl/SysUtils.h"

namespace {

const char *const SDuplicatedSheetName = "Sheet name already exists: %s";

int CompareNames(const QString &a, const QString &b)
{
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (a[i] != b[i])
            return a[i].unicode() < b[i].unicode() ? -1 : 1;
    return 0;
}

[[noreturn]] void Duplicated(const QString &Name)
{
    throw Exception(Format(QString::fromLatin1(SDuplicatedSheetName), {Name}));
}

} // namespace

template <class Key> bool TSheetNameList::Find(const QString &S, int32_t &Index, Key key) const
{
    int32_t lo = 0, hi = Count() - 1;
    while (lo <= hi) {
        const int32_t mid = lo + (hi - lo) / 2;
        const int c = CompareNames(key(Items(mid)), S);
        if (c == 0) {
            Index = mid;
            return true;
        }
        if (c < 0)
            lo = mid + 1;
        else
            hi = mid - 1;
    }
    Index = lo;
    return false;
}

bool TSheetNameList::FindRootString(const QString &S, int32_t &Index) const
{
    return Find(S, Index, [](const TWideContainer *w) { return w->S; });
}

bool TSheetNameList::FindFullString(const QString &S, int32_t &Index) const
{
    return Find(S, Index, [](const TWideContainer *w) { return w->FullName(); });
}

void TSheetNameList::InsertName(int32_t Index, const QString &Root, int32_t n)
{
    auto *w = new TWideContainer{Root, n};
    try {
        Insert(Index, w);
    } catch (...) {
        delete w;
        throw;
    }
}

void TSheetNameList::Add(const QString &aName)
{
    int32_t Index = 0;
    if (FindFullString(aName, Index))
        Duplicated(aName);
    InsertName(Index, aName, 0);
}

QString TSheetNameList::AddUniqueName(const QString &aName)
{
    int32_t Index = 0;
    int32_t k = 0;
    if (FindRootString(aName, Index))
        k = Items(Index)->n + 1;
    else if (FindFullString(aName, Index))
        k = 1; // present under another root ("Sheet1" made as Sheet + 1)
    if (k > 0)
        while (FindFullString(aName + QString::number(k), Index))
            ++k;
    // The position comes from a search by full name: a root search on this order may miss it.
    const QString Result = k == 0 ? aName : aName + QString::number(k);
    FindFullString(Result, Index);
    InsertName(Index, aName, k);
    return Result;
}

void TSheetNameList::DeleteSheet(const QString &SheetName)
{
    int32_t Index = 0;
    if (!FindFullString(SheetName, Index))
        ListIndexError(-1);
    Delete(Index);
}

void TSheetNameList::Rename(const QString &OldName, const QString &NewName)
{
    if (OldName == NewName)
        return;
    int32_t OldIndex = 0, Index = 0;
    if (!FindFullString(OldName, OldIndex))
        ListIndexError(-1);
    if (FindFullString(NewName, Index))
        Duplicated(NewName);
    Delete(OldIndex);
    Add(NewName);
}

QString TSheetNameList::MakeValidSheetName(const QString &aName)
{
    QString Result = aName.left(31);
    for (QChar &c : Result) {
        switch (c.unicode()) {
        case u'/':
        case u'\\':
        case u'?':
        case u'[':
        case u']':
        case u'*':
            c = u'_';
            break;
        case u':':
            c = u'.';
            break;
        default:
            break;
        }
    }
    return Result;
}

void TSheetNameList::Notify(void *Ptr, TListNotification Action)
{
    if (Action == lnDeleted)
        delete static_cast<TWideContainer *>(Ptr);
}
