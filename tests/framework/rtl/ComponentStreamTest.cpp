// Component images: the frame, the value tags and reading them back.
#include "framework/rtl/ComponentStream.h"
#include "framework/rtl/Exceptions.h"
#include "framework/rtl/Streams.h"
#include "tests/common/TestSupport.h"
#include <gtest/gtest.h>
#include <cmath>

namespace
{
class TSample : public TStreamedComponent
{
public:
    explicit TSample(TComponent *AOwner = nullptr) : TStreamedComponent(AOwner) {}
    void WriteProperties(TPropertyWriter &W) override
    {
        W.WriteInteger("I", I);
        W.WriteString("S", S);
        W.WriteFloat("F", F);
        W.WriteBoolean("B", B);
        W.WriteIdent("E", E);
        W.WriteSet("St", Set);
        W.WriteBinary("Bin", Bin);
        W.WriteStringList("L", List);
    }
    bool ReadProperty(const QString &Name, TPropertyReader &R) override
    {
        if (Name == "I")
            I = R.ReadInteger();
        else if (Name == "S")
            S = R.ReadString();
        else if (Name == "F")
            F = R.ReadFloat();
        else if (Name == "B")
            B = R.ReadBoolean();
        else if (Name == "E")
            E = R.ReadIdent();
        else if (Name == "St")
            Set = R.ReadSet();
        else if (Name == "Bin")
            Bin = R.ReadBinary();
        else if (Name == "L")
            List = R.ReadStringList();
        else
            return false;
        return true;
    }
    int I = 0;
    QString S;
    double F = 0;
    bool B = false;
    QString E = "x";
    QStringList Set;
    QByteArray Bin;
    QStringList List;
};

QByteArray ImageOf(TSample &s)
{
    TMemoryStream ms;
    WriteComponentImage(&ms, &s);
    return ms.Bytes();
}

const bool registered = [] {
    RegisterComponentClass("TSample", [](TComponent *o) { return new TSample(o); });
    return true;
}();
} // namespace

TEST(ComponentStreamTest, FrameAndIntegerTags)
{
    TSample s;
    s.E = "ab";
    const QByteArray head = QByteArray("TPF0\x07TSample\x00", 13);
    // I=5 (Int8), B False, E ident, empty set, empty binary, empty list; S and F left out
    const QByteArray body = QByteArray("\x01I\x02\x05"
                                       "\x01" "B\x08"
                                       "\x01" "E\x07\x02" "ab"
                                       "\x02St\x0B\x00"
                                       "\x03" "Bin\x0A\x00\x00\x00\x00"
                                       "\x01L\x01\x00"
                                       "\x00\x00",
                                       4 + 3 + 6 + 5 + 9 + 4 + 2);
    s.I = 5;
    EXPECT_EQ(ImageOf(s), head + body);

    struct Case
    {
        int value;
        QByteArray bytes;
    };
    const Case cases[] = {{-128, QByteArray("\x02\x80", 2)},
                          {127, QByteArray("\x02\x7F", 2)},
                          {128, QByteArray("\x03\x80\x00", 3)},
                          {-32768, QByteArray("\x03\x00\x80", 3)},
                          {32768, QByteArray("\x04\x00\x80\x00\x00", 5)},
                          {-2147483647 - 1, QByteArray("\x04\x00\x00\x00\x80", 5)}};
    for (const Case &k : cases) {
        s.I = k.value;
        EXPECT_EQ(ImageOf(s).mid(head.size() + 2, k.bytes.size()), k.bytes) << k.value;
        TMemoryStream ms;
        WriteComponentImage(&ms, &s);
        ms.SetPosition(0);
        TSample back;
        ReadComponentImage(&ms, &back);
        EXPECT_EQ(back.I, k.value);
    }
}

TEST(ComponentStreamTest, StringTagsFloatsAndRoundTrip)
{
    struct Case
    {
        QString text;
        uint8_t tag;
    };
    const Case cases[] = {{"plain", 6},
                          {QString(300, 'a'), 12},
                          {QString::fromUtf8("\xce\xb1\xce\xb2"), 18},        // two bytes per character
                          {QString::fromUtf8("caf\xc3\xa9 au lait"), 20}}; // mostly ASCII
    for (const Case &k : cases) {
        TSample s;
        s.S = k.text;
        s.F = -1.25e-300;
        s.B = true;
        s.Set = QStringList{"fsBold", "fsItalic"};
        s.Bin = QByteArray("\x00\x01\xff", 3);
        s.List = QStringList{"one", QString::fromUtf8("\xce\xb1"), ""};
        const QByteArray img = ImageOf(s);
        const qsizetype at = img.indexOf(QByteArray("\x01S", 2), 13);
        ASSERT_GT(at, 0);
        EXPECT_EQ(uint8_t(img[at + 2]), k.tag) << k.text.left(10).toStdString();
        TMemoryStream ms;
        ms.WriteBuffer(img.constData(), img.size());
        ms.SetPosition(0);
        TSample back;
        ReadComponentImage(&ms, &back);
        EXPECT_EQ(back.S, k.text);
        EXPECT_EQ(back.F, -1.25e-300);
        EXPECT_TRUE(back.B);
        EXPECT_EQ(back.Set, s.Set);
        EXPECT_EQ(back.Bin, s.Bin);
        EXPECT_EQ(back.List, s.List);
        EXPECT_EQ(ms.Position(), ms.Size());
    }
    // the 80-bit form of 1.0 and of -2.5 (sign, exponent 16383 + 1, mantissa 1.01b)
    uint8_t b[10];
    DoubleToExtended(1.0, b);
    EXPECT_EQ(QByteArray(reinterpret_cast<char *>(b), 10), QByteArray("\0\0\0\0\0\0\0\x80\xff\x3f", 10));
    DoubleToExtended(-2.5, b);
    EXPECT_EQ(QByteArray(reinterpret_cast<char *>(b), 10), QByteArray("\0\0\0\0\0\0\0\xa0\x00\xc0", 10));
    EXPECT_EQ(ExtendedToDouble(b), -2.5);
    for (double v : {0.1, 1e308, 4.9e-324, -0.0})
    {
        DoubleToExtended(v, b);
        EXPECT_EQ(ExtendedToDouble(b), v);
    }
}

TEST(ComponentStreamTest, BadImagesRaiseStreamErrors)
{
    TSample s;
    s.S = "text";
    const QByteArray good = ImageOf(s);
    auto readOf = [](const QByteArray &bytes, TStreamedComponent *into) {
        TMemoryStream ms;
        ms.WriteBuffer(bytes.constData(), bytes.size());
        ms.SetPosition(0);
        return ReadComponentImage(&ms, into);
    };
    TSample back;
    QByteArray badSig = good;
    badSig[0] = 'X';
    EXPECT_THROW(readOf(badSig, &back), EReadError);
    QByteArray unknown = good;
    unknown.replace("TSample", "TSampl2");
    EXPECT_THROW(readOf(unknown, &back), EReadError);
    for (int cut : {3, 10, 20, int(good.size()) - 1})
        EXPECT_THROW(readOf(good.left(cut), &back), EReadError) << cut;
    // a huge stated length is refused, not allocated
    QByteArray huge = QByteArray("TPF0\x07TSample\x00\x03" "Bin\x0A\xff\xff\xff\x7f", 22);
    EXPECT_THROW(readOf(huge, &back), EReadError);
    // an unknown property
    QByteArray unknownProp = QByteArray("TPF0\x07TSample\x00\x01Z\x08\x00\x00", 18);
    EXPECT_THROW(readOf(unknownProp, &back), EReadError);
    // a value of the wrong type
    QByteArray wrongType = QByteArray("TPF0\x07TSample\x00\x01I\x08\x00\x00", 18);
    EXPECT_THROW(readOf(wrongType, &back), EReadError);

    // without an instance the registry makes one
    std::unique_ptr<TStreamedComponent> made(readOf(good, nullptr));
    ASSERT_NE(dynamic_cast<TSample *>(made.get()), nullptr);
    EXPECT_EQ(static_cast<TSample *>(made.get())->S, "text");
}
