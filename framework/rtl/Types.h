#pragma once
// Basic value types shared by the whole framework: integer aliases, sets, points and rectangles.
#include <bitset>
#include <cstdint>
#include <initializer_list>
#include <type_traits>

using Integer = int32_t;
using Cardinal = uint32_t;
using Int64 = int64_t;
using Word = uint16_t;
using Byte = uint8_t;
using LongInt = int32_t;
using LongWord = uint32_t;
using SmallInt = int16_t;
using ShortInt = int8_t;
using Extended = double;

// A set of enumeration values (ordinal 0..255), as in "set of T".
template <typename E>
class TSet
{
    static_assert(std::is_enum_v<E> || std::is_integral_v<E>, "TSet holds enumerations or small integers");
    std::bitset<256> bits_;
    static size_t ord(E e) { return static_cast<size_t>(e) & 0xFF; }

public:
    constexpr TSet() = default;
    TSet(std::initializer_list<E> items) { for (E e : items) bits_.set(ord(e)); }

    bool Contains(E e) const { return bits_.test(ord(e)); }
    TSet &Include(E e) { bits_.set(ord(e)); return *this; }
    TSet &Exclude(E e) { bits_.reset(ord(e)); return *this; }
    bool Empty() const { return bits_.none(); }
    size_t Count() const { return bits_.count(); }
    void Clear() { bits_.reset(); }

    TSet operator+(const TSet &o) const { TSet r; r.bits_ = bits_ | o.bits_; return r; }
    TSet operator-(const TSet &o) const { TSet r; r.bits_ = bits_ & ~o.bits_; return r; }
    TSet operator*(const TSet &o) const { TSet r; r.bits_ = bits_ & o.bits_; return r; }
    TSet operator+(E e) const { TSet r(*this); r.Include(e); return r; }
    TSet operator-(E e) const { TSet r(*this); r.Exclude(e); return r; }
    TSet &operator+=(const TSet &o) { bits_ |= o.bits_; return *this; }
    TSet &operator-=(const TSet &o) { bits_ &= ~o.bits_; return *this; }
    TSet &operator*=(const TSet &o) { bits_ &= o.bits_; return *this; }
    TSet &operator+=(E e) { return Include(e); }
    TSet &operator-=(E e) { return Exclude(e); }
    bool operator==(const TSet &o) const { return bits_ == o.bits_; }
    bool operator!=(const TSet &o) const { return bits_ != o.bits_; }
    // Subset test, as "a <= b".
    bool operator<=(const TSet &o) const { return (bits_ & ~o.bits_).none(); }
};

struct TPoint
{
    int32_t X = 0;
    int32_t Y = 0;
    constexpr TPoint() = default;
    constexpr TPoint(int32_t x, int32_t y) : X(x), Y(y) {}
    bool operator==(const TPoint &o) const = default;
};

struct TSize
{
    int32_t cx = 0;
    int32_t cy = 0;
    bool operator==(const TSize &o) const = default;
};

// Rectangle with exclusive Right and Bottom edges, as on the original platform.
struct TRect
{
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
    constexpr TRect() = default;
    constexpr TRect(int32_t l, int32_t t, int32_t r, int32_t b) : Left(l), Top(t), Right(r), Bottom(b) {}
    constexpr int32_t Width() const { return Right - Left; }
    constexpr int32_t Height() const { return Bottom - Top; }
    constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    TPoint TopLeft() const { return {Left, Top}; }
    TPoint BottomRight() const { return {Right, Bottom}; }
    bool Contains(const TPoint &p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
    bool operator==(const TRect &o) const = default;
};

inline constexpr TRect Rect(int32_t l, int32_t t, int32_t r, int32_t b) { return {l, t, r, b}; }
inline constexpr TRect Bounds(int32_t l, int32_t t, int32_t w, int32_t h) { return {l, t, l + w, t + h}; }
inline constexpr TPoint Point(int32_t x, int32_t y) { return {x, y}; }

// Intersection of two rectangles; returns false (and an empty result) when they do not meet.
inline bool IntersectRect(TRect &dst, const TRect &a, const TRect &b)
{
    TRect r(a.Left > b.Left ? a.Left : b.Left, a.Top > b.Top ? a.Top : b.Top,
            a.Right < b.Right ? a.Right : b.Right, a.Bottom < b.Bottom ? a.Bottom : b.Bottom);
    if (r.IsEmpty()) { dst = TRect(); return false; }
    dst = r;
    return true;
}
inline bool PtInRect(const TRect &r, const TPoint &p) { return r.Contains(p); }
inline void OffsetRect(TRect &r, int32_t dx, int32_t dy) { r.Left += dx; r.Right += dx; r.Top += dy; r.Bottom += dy; }
inline void InflateRect(TRect &r, int32_t dx, int32_t dy) { r.Left -= dx; r.Right += dx; r.Top -= dy; r.Bottom += dy; }
