#pragma once
// Working matrices of the analyses. Index order is M[column][row] (site first, species second);
// index 0 of each dimension holds the margins: M[0][r] row total, M[c][0] column total,
// M[0][0] grand total.
#include "framework/rtl/Lists.h"
#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

// One contiguous column-major buffer: the simulations touch every cell thousands of times, so a
// vector of vectors (one allocation per column, scattered columns) is not good enough.
template <typename T>
class TMatrixOf
{
public:
    TMatrixOf() = default;
    TMatrixOf(int32_t cols, int32_t rows) { SetLength(cols, rows); }

    // Column c as a pointer to its Rows() cells, so that M[c][r] reads like the original.
    T *operator[](int32_t c) { return data_.data() + static_cast<size_t>(c) * rows_; }
    const T *operator[](int32_t c) const { return data_.data() + static_cast<size_t>(c) * rows_; }

    int32_t Cols() const { return cols_; }
    int32_t Rows() const { return rows_; }
    bool Empty() const { return data_.empty(); }
    T *Data() { return data_.data(); }
    const T *Data() const { return data_.data(); }

    // Resizes like SetLength on a dynamic array: cells inside both shapes keep their values,
    // new cells are zero. Negative sizes count as 0.
    void SetLength(int32_t cols, int32_t rows)
    {
        cols = cols < 0 ? 0 : cols;
        rows = rows < 0 ? 0 : rows;
        if (cols == 0 || rows == 0) {
            cols_ = cols;
            rows_ = rows;
            data_.clear();
            return;
        }
        if (rows == rows_) {
            data_.resize(static_cast<size_t>(cols) * rows, T{});
            cols_ = cols;
            return;
        }
        std::vector<T> next(static_cast<size_t>(cols) * rows, T{});
        const int32_t keepCols = cols < cols_ ? cols : cols_;
        const int32_t keepRows = rows < rows_ ? rows : rows_;
        for (int32_t c = 0; c < keepCols; ++c)
            for (int32_t r = 0; r < keepRows; ++r)
                next[static_cast<size_t>(c) * rows + r] = data_[static_cast<size_t>(c) * rows_ + r];
        data_.swap(next);
        cols_ = cols;
        rows_ = rows;
    }

    void Fill(T value) { std::fill(data_.begin(), data_.end(), value); }

    bool operator==(const TMatrixOf &o) const = default;

private:
    int32_t cols_ = 0;
    int32_t rows_ = 0;
    std::vector<T> data_;
};

using Matrix = TMatrixOf<int32_t>;
using Real_Matrix = TMatrixOf<double>;

// Sizes of the working matrix: [0], [1] allocated dimensions (the main grid's ColCount and
// RowCount), [2] live site columns, [3] live species rows.
using TInfoMat = std::array<int32_t, 4>;

// Lists of untyped references, one list per entry, for the presence-absence analyses.
using TestList = std::vector<std::unique_ptr<TList>>;

template <typename T>
inline void SetLength(TMatrixOf<T> &m, int32_t cols, int32_t rows) { m.SetLength(cols, rows); }
