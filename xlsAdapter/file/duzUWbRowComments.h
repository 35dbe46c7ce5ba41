#pragma once
// Which objects of a sheet are anchored in which row, so that a row's pictures can be listed
// without walking the whole drawing.
#include "framework/rtl/Classes.h"

#include <cstdint>
#include <memory>
#include <vector>

// The positions recorded for one row, in the order they were added.
class TCommentRowPos : public TObject
{
public:
    int32_t Row = 0;

    int32_t Count() const { return static_cast<int32_t>(FItems.size()); }
    // Raises the list index error outside 0 .. Count - 1.
    int32_t Items(int32_t Index) const;
    int32_t operator[](int32_t Index) const { return Items(Index); }
    const std::vector<int32_t> &List() const { return FItems; }

private:
    friend class TRowComments;
    std::vector<int32_t> FItems;
};

class TRowComments : public TObject
{
public:
    TRowComments();
    TRowComments(const TRowComments &) = delete;
    TRowComments &operator=(const TRowComments &) = delete;

    void Add(int32_t aRow, int32_t aPos);
    // The row's entry, or the shared empty slot when the row has none.
    const TCommentRowPos &GetItems(int32_t aRow) const;
    const TCommentRowPos &operator[](int32_t aRow) const { return GetItems(aRow); }
    // Removes the aCol-th position of the row; every later position moves down by one.
    void Delete(int32_t aRow, int32_t aCol);

    // Number of rows that have an entry.
    int32_t Count() const { return static_cast<int32_t>(FList.size()); }
    const TCommentRowPos &EmptySlot() const { return *FEmptySlot; }

private:
    // Binary search by row: true with the entry's index, or false with the insertion index.
    bool Find(int32_t aRow, int32_t &Index) const;

    std::vector<std::unique_ptr<TCommentRowPos>> FList;
    std::unique_ptr<TCommentRowPos> FEmptySlot;
};
