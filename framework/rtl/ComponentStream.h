#pragma once
// Component images: a component's published properties written to a stream and read back.
// An image is "TPF0", the class name, an empty component name, one entry per property (name,
// type tag, value), and two zero bytes that end the properties and the (absent) children.
#include "framework/rtl/Classes.h"
#include <QByteArray>
#include <QStringList>
#include <functional>

class TStream;

enum class TValueType : uint8_t {
    vaNull = 0, vaList = 1, vaInt8 = 2, vaInt16 = 3, vaInt32 = 4, vaExtended = 5, vaString = 6,
    vaIdent = 7, vaFalse = 8, vaTrue = 9, vaBinary = 10, vaSet = 11, vaLString = 12, vaWString = 18,
    vaUTF8String = 20
};

// Writes the property entries of one image.
class TPropertyWriter
{
public:
    explicit TPropertyWriter(TStream *Stream) : FStream(Stream) {}
    // The smallest of Int8, Int16 and Int32 that holds Value.
    void WriteInteger(const QString &Name, int32_t Value);
    void WriteBoolean(const QString &Name, bool Value);
    void WriteIdent(const QString &Name, const QString &Value);
    // Empty texts are not written.
    void WriteString(const QString &Name, const QString &Value);
    // Zero is not written.
    void WriteFloat(const QString &Name, double Value);
    void WriteBinary(const QString &Name, const QByteArray &Value);
    void WriteSet(const QString &Name, const QStringList &Members);
    void WriteStringList(const QString &Name, const QStringList &Lines);

    // Raw pieces, for the image frame.
    void WriteShortString(const QByteArray &Utf8);
    void WriteByte(uint8_t b);

private:
    void WriteName(const QString &Name) { WriteShortString(Name.toUtf8()); }
    void WriteStringValue(const QString &Value);
    TStream *FStream;
};

// Reads the value of the property entry the image reader has just named.
class TPropertyReader
{
public:
    explicit TPropertyReader(TStream *Stream) : FStream(Stream) {}
    // The type of the next value, left unread.
    TValueType NextValue();
    int32_t ReadInteger();
    bool ReadBoolean();
    QString ReadIdent();
    QString ReadString();
    double ReadFloat();
    QByteArray ReadBinary();
    QStringList ReadSet();
    QStringList ReadStringList();

    uint8_t ReadByte();
    QByteArray ReadShortString();

private:
    TValueType ReadTag();
    QString ReadStringOf(TValueType Tag);
    [[noreturn]] void InvalidValue();
    TStream *FStream;
};

// A component that streams its published properties.
class TStreamedComponent : public TComponent
{
public:
    explicit TStreamedComponent(TComponent *AOwner) : TComponent(AOwner) {}
    virtual void WriteProperties(TPropertyWriter &Writer) = 0;
    // Reads the value of property Name; false when the class has no such property.
    virtual bool ReadProperty(const QString &Name, TPropertyReader &Reader) = 0;
};

using TComponentFactory = std::function<TStreamedComponent *(TComponent *Owner)>;
// The classes whose images can be read by name.
void RegisterComponentClass(const QString &ClassName, TComponentFactory Factory);
bool IsComponentClassRegistered(const QString &ClassName);

// Writes Instance's image at the stream's position.
void WriteComponentImage(TStream *Stream, TStreamedComponent *Instance);
// Reads an image into Instance, or, when Instance is nil, into a new component of the registered
// class the image names, owned by Owner. A wrong signature, an unregistered class, a class other
// than Instance's, an unknown property or a value of the wrong type raise EReadError; a short
// stream raises the stream's read error.
TStreamedComponent *ReadComponentImage(TStream *Stream, TStreamedComponent *Instance, TComponent *Owner = nullptr);

// 80-bit extended floating point, little-endian, as ten bytes.
void DoubleToExtended(double Value, uint8_t Out[10]);
double ExtendedToDouble(const uint8_t In[10]);
