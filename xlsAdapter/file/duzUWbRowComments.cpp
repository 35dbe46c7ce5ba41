#include "xlsAdapter/file/duzUWbRowComments.h"

#include "framework/rtl/Lists.h"

#include <algorithm>

int32_t TCommentRowPos::Items(int32_t Index) const
{
    if (Index < 0 || Index >= Count())
        TList::Error(QStringLiteral("List index out of bounds (%d)"), Index);
    return FItems[size_t(Index)];
}

TRowComments::TRowComments() : FEmptySlot(std::make_unique<TCommentRowPos>()) {}

bool TRowComments::Find(int32_t aRow, int32_t &Index) const
{
    const auto it = std::lower_bound(FList.begin(), FList.end(), aRow,
                                     [](const std::unique_ptr<TCommentRowPos> &e, int32_t r) { return e->Row < r; });
    Index = static_cast<int32_t>(it - FList.begin());
    return it != FList.end() && (*it)->Row == aRow;
}

void TRowComments::Add(int32_t aRow, int32_t aPos)
{
    int32_t i;
    if (!Find(aRow, i)) {
        auto e = std::make_unique<TCommentRowPos>();
        e->Row = aRow;
        FList.insert(FList.begin() + i, std::move(e));
    }
    FList[size_t(i)]->FItems.push_back(aPos);
}

const TCommentRowPos &TRowComments::GetItems(int32_t aRow) const
{
    int32_t i;
    return Find(aRow, i) ? *FList[size_t(i)] : *FEmptySlot;
}

void TRowComments::Delete(int32_t aRow, int32_t aCol)
{
    int32_t i;
    if (!Find(aRow, i))
        return;
    std::vector<int32_t> &items = FList[size_t(i)]->FItems;
    const int32_t v = FList[size_t(i)]->Items(aCol);
    items.erase(items.begin() + aCol);
    for (auto &e : FList)
        for (int32_t &p : e->FItems)
            if (p > v)
                --p;
}
