#include "framework/rtl/ComponentStream.h"
#include "framework/rtl/Exceptions.h"
#include "framework/rtl/Streams.h"

#include <QHash>
#include <cmath>
#include <cstring>
#include <memory>

namespace
{
QHash<QString, TComponentFactory> &Registry()
{
    static QHash<QString, TComponentFactory> classes;
    return classes;
}

const char kSignature[4] = {'T', 'P', 'F', '0'};

bool Is7Bit(const QByteArray &b)
{
    for (char c : b)
        if (uint8_t(c) > 127)
            return false;
    return true;
}
} // namespace

// ---------------------------------------------------------------------------------------------
// 80-bit extended

void DoubleToExtended(double Value, uint8_t Out[10])
{
    uint64_t bits = 0;
    std::memcpy(&bits, &Value, sizeof bits);
    const uint16_t sign = uint16_t(bits >> 63);
    int exp = int((bits >> 52) & 0x7FF);
    uint64_t frac = bits & ((uint64_t(1) << 52) - 1);
    uint16_t exp16 = 0;
    uint64_t mant = 0;
    if (exp == 0 && frac == 0) {
        // zero keeps its sign
    } else if (exp == 0x7FF) {
        exp16 = 0x7FFF;
        mant = (uint64_t(1) << 63) | (frac << 11);
    } else if (exp == 0) {
        int e = -1022;
        while (!(frac & (uint64_t(1) << 52))) {
            frac <<= 1;
            --e;
        }
        exp16 = uint16_t(e + 16383);
        mant = frac << 11;
    } else {
        exp16 = uint16_t(exp - 1023 + 16383);
        mant = (uint64_t(1) << 63) | (frac << 11);
    }
    for (int i = 0; i < 8; ++i)
        Out[i] = uint8_t(mant >> (8 * i));
    const uint16_t top = uint16_t((sign << 15) | exp16);
    Out[8] = uint8_t(top & 0xFF);
    Out[9] = uint8_t(top >> 8);
}

double ExtendedToDouble(const uint8_t In[10])
{
    uint64_t mant = 0;
    for (int i = 0; i < 8; ++i)
        mant |= uint64_t(In[i]) << (8 * i);
    const uint16_t top = uint16_t(In[8] | (In[9] << 8));
    const bool negative = top & 0x8000;
    const int exp16 = top & 0x7FFF;
    double v;
    if (exp16 == 0x7FFF)
        v = (mant << 1) == 0 ? INFINITY : NAN;
    else if (exp16 == 0 && mant == 0)
        v = 0.0;
    else
        v = std::ldexp(double(mant), exp16 - 16383 - 63);
    return negative ? -v : v;
}

// ---------------------------------------------------------------------------------------------
// Writer

void TPropertyWriter::WriteByte(uint8_t b) { FStream->WriteBuffer(&b, 1); }

void TPropertyWriter::WriteShortString(const QByteArray &Utf8)
{
    const QByteArray b = Utf8.left(255);
    WriteByte(uint8_t(b.size()));
    FStream->WriteBuffer(b.constData(), b.size());
}

void TPropertyWriter::WriteInteger(const QString &Name, int32_t Value)
{
    WriteName(Name);
    if (Value >= -128 && Value <= 127) {
        WriteByte(uint8_t(TValueType::vaInt8));
        WriteByte(uint8_t(int8_t(Value)));
    } else if (Value >= -32768 && Value <= 32767) {
        WriteByte(uint8_t(TValueType::vaInt16));
        const uint16_t v = uint16_t(int16_t(Value));
        WriteByte(uint8_t(v & 0xFF));
        WriteByte(uint8_t(v >> 8));
    } else {
        WriteByte(uint8_t(TValueType::vaInt32));
        const uint32_t v = uint32_t(Value);
        for (int i = 0; i < 4; ++i)
            WriteByte(uint8_t(v >> (8 * i)));
    }
}

void TPropertyWriter::WriteBoolean(const QString &Name, bool Value)
{
    WriteName(Name);
    WriteByte(uint8_t(Value ? TValueType::vaTrue : TValueType::vaFalse));
}

void TPropertyWriter::WriteIdent(const QString &Name, const QString &Value)
{
    WriteName(Name);
    WriteByte(uint8_t(TValueType::vaIdent));
    WriteShortString(Value.toUtf8());
}

static void WriteLength(TStream *S, uint32_t n)
{
    uint8_t b[4];
    for (int i = 0; i < 4; ++i)
        b[i] = uint8_t(n >> (8 * i));
    S->WriteBuffer(b, 4);
}

void TPropertyWriter::WriteStringValue(const QString &Value)
{
    const QByteArray utf8 = Value.toUtf8();
    if (Is7Bit(utf8) && utf8.size() <= 255) {
        WriteByte(uint8_t(TValueType::vaString));
        WriteShortString(utf8);
    } else if (Is7Bit(utf8)) {
        WriteByte(uint8_t(TValueType::vaLString));
        WriteLength(FStream, uint32_t(utf8.size()));
        FStream->WriteBuffer(utf8.constData(), utf8.size());
    } else if (utf8.size() >= 2 * Value.size()) {
        WriteByte(uint8_t(TValueType::vaWString));
        WriteLength(FStream, uint32_t(Value.size()));
        QByteArray units(Value.size() * 2, Qt::Uninitialized);
        for (qsizetype i = 0; i < Value.size(); ++i) {
            units[2 * i] = char(Value[i].unicode() & 0xFF);
            units[2 * i + 1] = char(Value[i].unicode() >> 8);
        }
        FStream->WriteBuffer(units.constData(), units.size());
    } else {
        WriteByte(uint8_t(TValueType::vaUTF8String));
        WriteLength(FStream, uint32_t(utf8.size()));
        FStream->WriteBuffer(utf8.constData(), utf8.size());
    }
}

void TPropertyWriter::WriteString(const QString &Name, const QString &Value)
{
    if (Value.isEmpty())
        return;
    WriteName(Name);
    WriteStringValue(Value);
}

void TPropertyWriter::WriteFloat(const QString &Name, double Value)
{
    if (Value == 0)
        return;
    WriteName(Name);
    WriteByte(uint8_t(TValueType::vaExtended));
    uint8_t b[10];
    DoubleToExtended(Value, b);
    FStream->WriteBuffer(b, 10);
}

void TPropertyWriter::WriteBinary(const QString &Name, const QByteArray &Value)
{
    WriteName(Name);
    WriteByte(uint8_t(TValueType::vaBinary));
    WriteLength(FStream, uint32_t(Value.size()));
    FStream->WriteBuffer(Value.constData(), Value.size());
}

void TPropertyWriter::WriteSet(const QString &Name, const QStringList &Members)
{
    WriteName(Name);
    WriteByte(uint8_t(TValueType::vaSet));
    for (const QString &m : Members)
        WriteShortString(m.toUtf8());
    WriteByte(0);
}

void TPropertyWriter::WriteStringList(const QString &Name, const QStringList &Lines)
{
    WriteName(Name);
    WriteByte(uint8_t(TValueType::vaList));
    for (const QString &l : Lines)
        WriteStringValue(l);
    WriteByte(0);
}

// ---------------------------------------------------------------------------------------------
// Reader

uint8_t TPropertyReader::ReadByte()
{
    uint8_t b = 0;
    FStream->ReadBuffer(&b, 1);
    return b;
}

QByteArray TPropertyReader::ReadShortString()
{
    const uint8_t n = ReadByte();
    QByteArray b(n, Qt::Uninitialized);
    if (n)
        FStream->ReadBuffer(b.data(), n);
    return b;
}

void TPropertyReader::InvalidValue() { throw EReadError(QStringLiteral("Invalid property value")); }

TValueType TPropertyReader::ReadTag() { return TValueType(ReadByte()); }

TValueType TPropertyReader::NextValue()
{
    const int64_t at = FStream->Position();
    const TValueType t = ReadTag();
    FStream->SetPosition(at);
    return t;
}

static uint32_t ReadLength(TStream *S)
{
    uint8_t b[4];
    S->ReadBuffer(b, 4);
    return uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24);
}

// A stated length is checked against what the stream still holds before anything is allocated.
static QByteArray ReadCounted(TStream *S, uint64_t n)
{
    if (int64_t(n) > S->Size() - S->Position())
        throw EReadError(QStringLiteral("Stream read error"));
    QByteArray b(qsizetype(n), Qt::Uninitialized);
    if (n)
        S->ReadBuffer(b.data(), int64_t(n));
    return b;
}

int32_t TPropertyReader::ReadInteger()
{
    switch (ReadTag()) {
    case TValueType::vaInt8:
        return int8_t(ReadByte());
    case TValueType::vaInt16: {
        const uint8_t lo = ReadByte();
        return int16_t(uint16_t(lo | (ReadByte() << 8)));
    }
    case TValueType::vaInt32:
        return int32_t(ReadLength(FStream));
    default:
        InvalidValue();
    }
}

bool TPropertyReader::ReadBoolean()
{
    switch (ReadTag()) {
    case TValueType::vaTrue:
        return true;
    case TValueType::vaFalse:
        return false;
    default:
        InvalidValue();
    }
}

QString TPropertyReader::ReadIdent()
{
    if (ReadTag() != TValueType::vaIdent)
        InvalidValue();
    return QString::fromUtf8(ReadShortString());
}

QString TPropertyReader::ReadStringOf(TValueType Tag)
{
    switch (Tag) {
    case TValueType::vaString:
        return QString::fromUtf8(ReadShortString());
    case TValueType::vaLString:
    case TValueType::vaUTF8String:
        return QString::fromUtf8(ReadCounted(FStream, ReadLength(FStream)));
    case TValueType::vaWString: {
        const QByteArray b = ReadCounted(FStream, uint64_t(ReadLength(FStream)) * 2);
        QString s(b.size() / 2, Qt::Uninitialized);
        for (qsizetype i = 0; i < s.size(); ++i)
            s[i] = QChar(char16_t(uint8_t(b[2 * i]) | (uint8_t(b[2 * i + 1]) << 8)));
        return s;
    }
    default:
        InvalidValue();
    }
}

QString TPropertyReader::ReadString() { return ReadStringOf(ReadTag()); }

double TPropertyReader::ReadFloat()
{
    if (ReadTag() != TValueType::vaExtended)
        InvalidValue();
    uint8_t b[10];
    FStream->ReadBuffer(b, 10);
    return ExtendedToDouble(b);
}

QByteArray TPropertyReader::ReadBinary()
{
    if (ReadTag() != TValueType::vaBinary)
        InvalidValue();
    return ReadCounted(FStream, ReadLength(FStream));
}

QStringList TPropertyReader::ReadSet()
{
    if (ReadTag() != TValueType::vaSet)
        InvalidValue();
    QStringList out;
    for (QByteArray m = ReadShortString(); !m.isEmpty(); m = ReadShortString())
        out << QString::fromUtf8(m);
    return out;
}

QStringList TPropertyReader::ReadStringList()
{
    if (ReadTag() != TValueType::vaList)
        InvalidValue();
    QStringList out;
    for (TValueType t = ReadTag(); t != TValueType::vaNull; t = ReadTag())
        out << ReadStringOf(t);
    return out;
}

// ---------------------------------------------------------------------------------------------
// Images

void RegisterComponentClass(const QString &ClassName, TComponentFactory Factory)
{
    Registry().insert(ClassName, std::move(Factory));
}

bool IsComponentClassRegistered(const QString &ClassName) { return Registry().contains(ClassName); }

void WriteComponentImage(TStream *Stream, TStreamedComponent *Instance)
{
    TPropertyWriter w(Stream);
    Stream->WriteBuffer(kSignature, 4);
    w.WriteShortString(Instance->ClassName().toUtf8());
    w.WriteShortString(Instance->Name().toUtf8());
    Instance->WriteProperties(w);
    w.WriteByte(0);
    w.WriteByte(0);
}

TStreamedComponent *ReadComponentImage(TStream *Stream, TStreamedComponent *Instance, TComponent *Owner)
{
    TPropertyReader r(Stream);
    char sig[4];
    Stream->ReadBuffer(sig, 4);
    if (std::memcmp(sig, kSignature, 4) != 0)
        throw EReadError(QStringLiteral("Invalid stream format"));
    const QString cls = QString::fromUtf8(r.ReadShortString());
    if (!IsComponentClassRegistered(cls))
        throw EReadError(QStringLiteral("Class %1 not found").arg(cls));
    std::unique_ptr<TStreamedComponent> created;
    if (!Instance) {
        created.reset(Registry().value(cls)(Owner));
        Instance = created.get();
    } else if (Instance->ClassName() != cls) {
        throw EReadError(QStringLiteral("Invalid stream format"));
    }
    r.ReadShortString(); // the component name: holders have none
    for (QByteArray name = r.ReadShortString(); !name.isEmpty(); name = r.ReadShortString()) {
        const QString prop = QString::fromUtf8(name);
        if (!Instance->ReadProperty(prop, r))
            throw EReadError(QStringLiteral("Error reading %1.%2: Property %2 does not exist").arg(cls, prop));
    }
    if (r.ReadByte() != 0)
        throw EReadError(QStringLiteral("Invalid stream format"));
    created.release();
    return Instance;
}
