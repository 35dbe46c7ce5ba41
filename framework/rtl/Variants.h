#pragma once
// Variant: a value that keeps its kind.
#include "framework/rtl/Exceptions.h"
#include "framework/rtl/SysUtils.h"
#include <QString>
#include <cstdint>

using TVarType = uint16_t;

constexpr TVarType varEmpty = 0x0000;
constexpr TVarType varNull = 0x0001;
constexpr TVarType varSmallint = 0x0002;
constexpr TVarType varInteger = 0x0003;
constexpr TVarType varSingle = 0x0004;
constexpr TVarType varDouble = 0x0005;
constexpr TVarType varCurrency = 0x0006;
constexpr TVarType varDate = 0x0007;
constexpr TVarType varOleStr = 0x0008;
constexpr TVarType varError = 0x000A;
constexpr TVarType varBoolean = 0x000B;
constexpr TVarType varShortInt = 0x0010;
constexpr TVarType varByte = 0x0011;
constexpr TVarType varWord = 0x0012;
constexpr TVarType varLongWord = 0x0013;
constexpr TVarType varInt64 = 0x0014;
constexpr TVarType varUInt64 = 0x0015;
constexpr TVarType varString = 0x0100;
constexpr TVarType varUString = 0x0102;
constexpr TVarType varTypeMask = 0x0FFF;

enum TVariantRelationship { vrEqual, vrLessThan, vrGreaterThan, vrNotEqual };

class Variant
{
public:
    Variant() = default;
    Variant(int32_t v) : type_(varInteger) { i_ = v; }
    Variant(int16_t v) : type_(varSmallint) { i_ = v; }
    Variant(int8_t v) : type_(varShortInt) { i_ = v; }
    Variant(uint8_t v) : type_(varByte) { i_ = v; }
    Variant(uint16_t v) : type_(varWord) { i_ = v; }
    Variant(uint32_t v) : type_(varLongWord) { i_ = v; }
    Variant(int64_t v) : type_(varInt64) { i_ = v; }
    Variant(long long v) : type_(varInt64) { i_ = static_cast<int64_t>(v); }
    Variant(uint64_t v) : type_(varUInt64) { i_ = static_cast<int64_t>(v); }
    Variant(double v) : type_(varDouble) { d_ = v; }
    Variant(float v) : type_(varSingle) { d_ = v; }
    Variant(bool v) : type_(varBoolean) { i_ = v; }
    Variant(const QString &v) : type_(varUString), s_(v) {}
    Variant(const char *v) : type_(varUString), s_(QString::fromUtf8(v)) {}

    static Variant Null() { Variant v; v.type_ = varNull; return v; }
    // Currency keeps four decimals exactly (a scaled 64-bit integer).
    static Variant FromCurrency(double v);
    static Variant FromDate(TDateTime v) { Variant r; r.type_ = varDate; r.d_ = v; return r; }
    static Variant FromError(int32_t code) { Variant r; r.type_ = varError; r.i_ = code; return r; }
    // varString (8-bit text) rather than varUString.
    static Variant FromAnsiString(const QString &v) { Variant r(v); r.type_ = varString; return r; }

    TVarType VType() const { return type_; }

    // Conversions with the original's rules: Empty reads as 0, "" or false; Null and Error
    // raise; text is read with StrToFloat (or "True"/"False"); floats round halves to even.
    // A value that does not convert raises EVariantError
    // "Could not convert variant of type (X) into type (Y)", one out of range
    // "Overflow while converting variant of type (X) into type (Y)".
    int32_t AsInteger() const;
    int64_t AsInt64() const;
    double AsDouble() const;
    double AsCurrency() const;
    TDateTime AsDate() const;
    bool AsBoolean() const;
    QString AsString() const;
    int32_t ErrorCode() const { return type_ == varError ? static_cast<int32_t>(i_) : 0; }

    bool operator==(const Variant &o) const;
    bool operator!=(const Variant &o) const { return !(*this == o); }
    bool operator<(const Variant &o) const;
    bool operator>(const Variant &o) const { return o < *this; }
    bool operator<=(const Variant &o) const;
    bool operator>=(const Variant &o) const { return o <= *this; }

private:
    friend TVariantRelationship VarCompareValue(const Variant &A, const Variant &B);
    [[noreturn]] void castError(TVarType to) const;
    [[noreturn]] void overflowError(TVarType to) const;
    bool isIntegerKind() const;
    bool isFloatKind() const;
    bool isStringKind() const { return type_ == varUString || type_ == varString || type_ == varOleStr; }

    TVarType type_ = varEmpty;
    int64_t i_ = 0;  // integer kinds, boolean, currency (x 10000), error code
    double d_ = 0;   // single, double, date
    QString s_;
};

inline Variant Unassigned() { return Variant(); }
inline Variant Null() { return Variant::Null(); }

inline TVarType VarType(const Variant &V) { return V.VType(); }
inline bool VarIsEmpty(const Variant &V) { return V.VType() == varEmpty; }
inline bool VarIsNull(const Variant &V) { return V.VType() == varNull; }
bool VarIsNumeric(const Variant &V);
bool VarIsOrdinal(const Variant &V);
bool VarIsFloat(const Variant &V);
bool VarIsStr(const Variant &V);
// Empty and Null give "".
QString VarToStr(const Variant &V);
QString VarToStrDef(const Variant &V, const QString &ADefault);
// The value converted to the kind AVarType.
Variant VarAsType(const Variant &V, TVarType AVarType);
QString VarTypeAsText(TVarType AType);
// Null equals only Null (vrNotEqual otherwise); Empty reads as "" or 0 next to the other value.
TVariantRelationship VarCompareValue(const Variant &A, const Variant &B);
