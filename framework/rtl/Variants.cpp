#include "framework/rtl/Variants.h"
#include "framework/rtl/System.h"
#include <cmath>
#include <limits>

QString VarTypeAsText(TVarType AType)
{
    switch (AType & varTypeMask) {
    case varEmpty: return QStringLiteral("Empty");
    case varNull: return QStringLiteral("Null");
    case varSmallint: return QStringLiteral("Smallint");
    case varInteger: return QStringLiteral("Integer");
    case varSingle: return QStringLiteral("Single");
    case varDouble: return QStringLiteral("Double");
    case varCurrency: return QStringLiteral("Currency");
    case varDate: return QStringLiteral("Date");
    case varOleStr: return QStringLiteral("OleStr");
    case varError: return QStringLiteral("Error");
    case varBoolean: return QStringLiteral("Boolean");
    case varShortInt: return QStringLiteral("ShortInt");
    case varByte: return QStringLiteral("Byte");
    case varWord: return QStringLiteral("Word");
    case varLongWord: return QStringLiteral("LongWord");
    case varInt64: return QStringLiteral("Int64");
    case varUInt64: return QStringLiteral("UInt64");
    case varString: return QStringLiteral("String");
    case varUString: return QStringLiteral("UnicodeString");
    default: return QStringLiteral("$%1").arg(IntToHex(AType, 4));
    }
}

Variant Variant::FromCurrency(double v)
{
    if (!std::isfinite(v) || std::fabs(v) >= 922337203685477.0)
        throw EVariantError(QStringLiteral("Could not convert variant of type (Double) into type (Currency)"));
    Variant r;
    r.type_ = varCurrency;
    r.i_ = Round(v * 10000.0);
    return r;
}

void Variant::castError(TVarType to) const
{
    throw EVariantError(QStringLiteral("Could not convert variant of type (%1) into type (%2)")
                            .arg(VarTypeAsText(type_), VarTypeAsText(to)));
}

void Variant::overflowError(TVarType to) const
{
    throw EVariantError(QStringLiteral("Overflow while converting variant of type (%1) into type (%2)")
                            .arg(VarTypeAsText(type_), VarTypeAsText(to)));
}

bool Variant::isIntegerKind() const
{
    switch (type_) {
    case varSmallint: case varInteger: case varShortInt: case varByte: case varWord:
    case varLongWord: case varInt64: case varUInt64:
        return true;
    default:
        return false;
    }
}

bool Variant::isFloatKind() const { return type_ == varSingle || type_ == varDouble || type_ == varDate; }

double Variant::AsDouble() const
{
    switch (type_) {
    case varEmpty: return 0;
    case varSingle: case varDouble: case varDate: return d_;
    case varCurrency: return static_cast<double>(i_) / 10000.0;
    case varBoolean: return i_ ? -1 : 0;
    case varUInt64: return static_cast<double>(static_cast<uint64_t>(i_));
    case varUString: case varString: case varOleStr: {
        double d;
        if (TryStrToFloat(s_, d))
            return d;
        bool b;
        if (TryStrToBool(s_, b))
            return b ? -1 : 0;
        castError(varDouble);
    }
    default:
        if (isIntegerKind())
            return static_cast<double>(i_);
        castError(varDouble);
    }
}

int64_t Variant::AsInt64() const
{
    if (isIntegerKind() || type_ == varEmpty)
        return i_;
    if (type_ == varBoolean)
        return i_ ? -1 : 0;
    if (isStringKind()) {
        int64_t v;
        if (TryStrToInt64(s_, v))
            return v;
    }
    const double d = AsDouble();
    if (!std::isfinite(d) || std::fabs(d) >= 9.2233720368547758e18)
        overflowError(varInt64);
    return Round(d);
}

int32_t Variant::AsInteger() const
{
    const int64_t v = AsInt64();
    // Out of range is an overflow, not a silent wrap.
    if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max()) {
        if (type_ == varLongWord || type_ == varUInt64 || type_ == varInt64)
            return static_cast<int32_t>(v); // the original reinterprets integer bits
        overflowError(varInteger);
    }
    return static_cast<int32_t>(v);
}

double Variant::AsCurrency() const
{
    if (type_ == varCurrency)
        return static_cast<double>(i_) / 10000.0;
    return static_cast<double>(Round(AsDouble() * 10000.0)) / 10000.0;
}

TDateTime Variant::AsDate() const
{
    if (isStringKind()) {
        TDateTime d;
        if (TryStrToDateTime(s_, d))
            return d;
        double f;
        if (TryStrToFloat(s_, f))
            return f;
        castError(varDate);
    }
    return AsDouble();
}

bool Variant::AsBoolean() const
{
    if (isStringKind()) {
        bool b;
        if (TryStrToBool(s_, b))
            return b;
        castError(varBoolean);
    }
    if (type_ == varBoolean || isIntegerKind() || type_ == varCurrency || type_ == varEmpty)
        return i_ != 0;
    return AsDouble() != 0;
}

QString Variant::AsString() const
{
    switch (type_) {
    case varEmpty: return QString();
    case varUString: case varString: case varOleStr: return s_;
    case varBoolean: return i_ ? QStringLiteral("True") : QStringLiteral("False");
    case varSingle: return FloatToStrF(d_, ffGeneral, 7, 0);
    case varDouble: return FloatToStr(d_);
    case varCurrency: return CurrToStr(static_cast<double>(i_) / 10000.0);
    case varDate: return DateTimeToStr(d_);
    case varUInt64: return QString::number(static_cast<uint64_t>(i_));
    default:
        if (isIntegerKind())
            return QString::number(i_);
        castError(varUString);
    }
}

bool VarIsNumeric(const Variant &V)
{
    switch (V.VType()) {
    case varSmallint: case varInteger: case varShortInt: case varByte: case varWord: case varLongWord:
    case varInt64: case varUInt64: case varSingle: case varDouble: case varCurrency:
        return true;
    default:
        return false;
    }
}

bool VarIsOrdinal(const Variant &V)
{
    switch (V.VType()) {
    case varSmallint: case varInteger: case varShortInt: case varByte: case varWord: case varLongWord:
    case varInt64: case varUInt64: case varBoolean:
        return true;
    default:
        return false;
    }
}

bool VarIsFloat(const Variant &V)
{
    return V.VType() == varSingle || V.VType() == varDouble || V.VType() == varCurrency;
}

bool VarIsStr(const Variant &V)
{
    return V.VType() == varUString || V.VType() == varString || V.VType() == varOleStr;
}

QString VarToStr(const Variant &V) { return VarToStrDef(V, QString()); }

QString VarToStrDef(const Variant &V, const QString &ADefault)
{
    if (VarIsNull(V) || VarIsEmpty(V))
        return ADefault;
    return V.AsString();
}

Variant VarAsType(const Variant &V, TVarType AVarType)
{
    switch (AVarType) {
    case varEmpty: return Variant();
    case varNull: return Variant::Null();
    case varSmallint: return Variant(static_cast<int16_t>(V.AsInteger()));
    case varInteger: return Variant(V.AsInteger());
    case varShortInt: return Variant(static_cast<int8_t>(V.AsInteger()));
    case varByte: return Variant(static_cast<uint8_t>(V.AsInteger()));
    case varWord: return Variant(static_cast<uint16_t>(V.AsInteger()));
    case varLongWord: return Variant(static_cast<uint32_t>(V.AsInt64()));
    case varInt64: return Variant(V.AsInt64());
    case varUInt64: return Variant(static_cast<uint64_t>(V.AsInt64()));
    case varSingle: return Variant(static_cast<float>(V.AsDouble()));
    case varDouble: return Variant(V.AsDouble());
    case varCurrency: return Variant::FromCurrency(V.AsCurrency());
    case varDate: return Variant::FromDate(V.AsDate());
    case varBoolean: return Variant(V.AsBoolean());
    case varString: return Variant::FromAnsiString(V.AsString());
    case varUString: case varOleStr: return Variant(V.AsString());
    default:
        throw EVariantError(QStringLiteral("Could not convert variant of type (%1) into type (%2)")
                                .arg(VarTypeAsText(V.VType()), VarTypeAsText(AVarType)));
    }
}

TVariantRelationship VarCompareValue(const Variant &A, const Variant &B)
{
    auto rel = [](auto a, auto b) { return a < b ? vrLessThan : (b < a ? vrGreaterThan : vrEqual); };
    const bool aNull = VarIsNull(A), bNull = VarIsNull(B);
    if (aNull || bNull)
        return aNull && bNull ? vrEqual : vrNotEqual;
    // Empty stands for "" next to text and for 0 next to anything else.
    const bool aEmpty = VarIsEmpty(A), bEmpty = VarIsEmpty(B);
    if (aEmpty && bEmpty)
        return vrEqual;
    if ((VarIsStr(A) || aEmpty) && (VarIsStr(B) || bEmpty)) {
        const int c = CompareStr(A.s_, B.s_);
        return c < 0 ? vrLessThan : (c > 0 ? vrGreaterThan : vrEqual);
    }
    if (A.VType() == varError || B.VType() == varError)
        return A.VType() == B.VType() && A.i_ == B.i_ ? vrEqual : vrNotEqual;
    // Whole numbers compare exactly; anything else (including text against a number) as doubles.
    if ((A.isIntegerKind() || A.VType() == varBoolean) && (B.isIntegerKind() || B.VType() == varBoolean) &&
        A.VType() != varUInt64 && B.VType() != varUInt64)
        return rel(A.AsInt64(), B.AsInt64());
    if (A.VType() == varCurrency && B.VType() == varCurrency)
        return rel(A.i_, B.i_);
    const double a = A.AsDouble(), b = B.AsDouble();
    if (std::isnan(a) || std::isnan(b))
        return vrNotEqual;
    return rel(a, b);
}

bool Variant::operator==(const Variant &o) const { return VarCompareValue(*this, o) == vrEqual; }
bool Variant::operator<(const Variant &o) const { return VarCompareValue(*this, o) == vrLessThan; }

bool Variant::operator<=(const Variant &o) const
{
    const TVariantRelationship r = VarCompareValue(*this, o);
    return r == vrLessThan || r == vrEqual;
}
