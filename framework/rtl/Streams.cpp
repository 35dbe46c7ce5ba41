#include "framework/rtl/Streams.h"
#include "framework/rtl/CodePage.h"
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>
#include <cstring>

// ---------------------------------------------------------------------------------------------
// Encodings

TEncoding *TEncoding::Default()
{
    static TEncoding e(ekAnsi);
    return &e;
}

TEncoding *TEncoding::UTF8()
{
    static TEncoding e(ekUTF8);
    return &e;
}

TEncoding *TEncoding::Unicode()
{
    static TEncoding e(ekUnicode);
    return &e;
}

TEncoding *TEncoding::BigEndianUnicode()
{
    static TEncoding e(ekBigEndianUnicode);
    return &e;
}

TEncoding *TEncoding::UTF32()
{
    static TEncoding e(ekUTF32);
    return &e;
}

TEncoding *TEncoding::BigEndianUTF32()
{
    static TEncoding e(ekBigEndianUTF32);
    return &e;
}

QByteArray TEncoding::GetBytes(const QString &S) const
{
    switch (kind_) {
    case ekUTF8:
        return S.toUtf8();
    case ekUnicode:
    case ekBigEndianUnicode: {
        QByteArray out(S.size() * 2, Qt::Uninitialized);
        for (qsizetype i = 0; i < S.size(); ++i) {
            const char16_t u = S[i].unicode();
            const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
            out[2 * i] = kind_ == ekUnicode ? lo : hi;
            out[2 * i + 1] = kind_ == ekUnicode ? hi : lo;
        }
        return out;
    }
    case ekUTF32:
    case ekBigEndianUTF32: {
        QStringEncoder encoder(kind_ == ekUTF32 ? QStringEncoder::Utf32LE : QStringEncoder::Utf32BE,
                               QStringEncoder::Flag::Stateless);
        return encoder.encode(S);
    }
    default:
        return StringToAnsi(S);
    }
}

QString TEncoding::GetString(const QByteArray &Bytes) const
{
    switch (kind_) {
    case ekUTF8: {
        // The caller has taken off the byte-order mark; a U+FEFF after it is text.
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom | QStringDecoder::Flag::Stateless);
        return decoder.decode(Bytes);
    }
    case ekUnicode:
    case ekBigEndianUnicode: {
        // An odd last byte cannot form a character and is dropped.
        QString out(Bytes.size() / 2, Qt::Uninitialized);
        const auto *b = reinterpret_cast<const unsigned char *>(Bytes.constData());
        for (qsizetype i = 0; i < out.size(); ++i) {
            const unsigned first = b[2 * i], second = b[2 * i + 1];
            out[i] = QChar(static_cast<char16_t>(kind_ == ekUnicode ? (second << 8 | first) : (first << 8 | second)));
        }
        // A surrogate without its partner is no character; it becomes U+FFFD, as in UTF-8, so
        // that every text read can be written again.
        for (qsizetype i = 0; i < out.size(); ++i) {
            if (out[i].isHighSurrogate() && i + 1 < out.size() && out[i + 1].isLowSurrogate())
                ++i;
            else if (out[i].isSurrogate())
                out[i] = QChar::ReplacementCharacter;
        }
        return out;
    }
    case ekUTF32:
    case ekBigEndianUTF32: {
        // A last group of fewer than four bytes is dropped; a value that is no character (a
        // surrogate or beyond U+10FFFF) becomes U+FFFD.
        QString out;
        out.reserve(Bytes.size() / 4);
        const auto *b = reinterpret_cast<const unsigned char *>(Bytes.constData());
        for (qsizetype i = 0; i + 4 <= Bytes.size(); i += 4) {
            const unsigned char *q = b + i;
            const char32_t u = kind_ == ekUTF32 ? char32_t(q[0]) | char32_t(q[1]) << 8 | char32_t(q[2]) << 16 | char32_t(q[3]) << 24
                                                : char32_t(q[3]) | char32_t(q[2]) << 8 | char32_t(q[1]) << 16 | char32_t(q[0]) << 24;
            if (u > 0x10FFFF || (u >= 0xD800 && u <= 0xDFFF)) {
                out += QChar(QChar::ReplacementCharacter);
            } else if (QChar::requiresSurrogates(u)) {
                out += QChar(QChar::highSurrogate(u));
                out += QChar(QChar::lowSurrogate(u));
            } else {
                out += QChar(char16_t(u));
            }
        }
        return out;
    }
    default:
        return AnsiToString(Bytes);
    }
}

QByteArray TEncoding::GetPreamble() const
{
    switch (kind_) {
    case ekUTF8: return QByteArray("\xEF\xBB\xBF", 3);
    case ekUnicode: return QByteArray("\xFF\xFE", 2);
    case ekBigEndianUnicode: return QByteArray("\xFE\xFF", 2);
    case ekUTF32: return QByteArray("\xFF\xFE\x00\x00", 4);
    case ekBigEndianUTF32: return QByteArray("\x00\x00\xFE\xFF", 4);
    default: return QByteArray();
    }
}

int TEncoding::GetBufferEncoding(const QByteArray &Buffer, TEncoding *&AEncoding)
{
    // UTF-32 LE before UTF-16 LE: its mark FF FE 00 00 starts with FF FE.
    for (TEncoding *e : {UTF8(), UTF32(), BigEndianUTF32(), Unicode(), BigEndianUnicode()}) {
        const QByteArray bom = e->GetPreamble();
        if (Buffer.startsWith(bom)) {
            AEncoding = e;
            return static_cast<int>(bom.size());
        }
    }
    AEncoding = nullptr;
    return 0;
}

QString TEncoding::DecodeFileText(const QByteArray &Bytes, TEncoding **Found)
{
    TEncoding *e = nullptr;
    const int bom = GetBufferEncoding(Bytes, e);
    QString text;
    if (e) {
        text = e->GetString(Bytes.mid(bom));
    } else {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom | QStringDecoder::Flag::Stateless);
        text = utf8.decode(Bytes);
        // Pure ASCII is both; it counts as the code page, the encoding of the format.
        const bool ascii = std::all_of(Bytes.begin(), Bytes.end(), [](char c) { return uchar(c) < 0x80; });
        e = ascii ? Default() : UTF8();
        if (utf8.hasError()) {
            text = AnsiToString(Bytes);
            e = Default();
        }
    }
    if (Found)
        *Found = e;
    return text;
}

QByteArray TEncoding::EncodeFileText(const QString &Text, TEncoding **Used)
{
    const QByteArray ansi = StringToAnsi(Text);
    // Pure ASCII reads back as itself; other 8-bit text must survive the reader's own choice.
    const bool ascii = std::all_of(ansi.begin(), ansi.end(), [](char c) { return uchar(c) < 0x80; });
    const bool fits = IsAnsiRepresentable(Text) && (ascii || DecodeFileText(ansi) == Text);
    TEncoding *e = fits ? Default() : UTF8();
    if (Used)
        *Used = e;
    return fits ? ansi : e->GetPreamble() + e->GetBytes(Text);
}

// ---------------------------------------------------------------------------------------------
// TStream

void TStream::ReadBuffer(void *Buffer, int64_t Count)
{
    if (Count != 0 && Read(Buffer, Count) != Count)
        throw EReadError(QStringLiteral("Stream read error"));
}

void TStream::WriteBuffer(const void *Buffer, int64_t Count)
{
    if (Count != 0 && Write(Buffer, Count) != Count)
        throw EWriteError(QStringLiteral("Stream write error"));
}

int64_t TStream::Size()
{
    const int64_t pos = Seek(0, soFromCurrent);
    const int64_t size = Seek(0, soFromEnd);
    Seek(pos, soFromBeginning);
    return size;
}

void TStream::SetSize(int64_t) {}

int64_t TStream::CopyFrom(TStream *Source, int64_t Count)
{
    if (Count == 0) {
        Source->SetPosition(0);
        Count = Source->Size();
    }
    const int64_t total = Count;
    QByteArray buf(static_cast<qsizetype>(std::min<int64_t>(Count, 0xF000)), Qt::Uninitialized);
    while (Count > 0) {
        const int64_t n = std::min<int64_t>(Count, buf.size());
        Source->ReadBuffer(buf.data(), n);
        WriteBuffer(buf.constData(), n);
        Count -= n;
    }
    return total;
}

// ---------------------------------------------------------------------------------------------
// TMemoryStream

int64_t TMemoryStream::Read(void *Buffer, int64_t Count)
{
    if (Count <= 0 || pos_ < 0 || pos_ >= data_.size())
        return 0;
    const int64_t n = std::min<int64_t>(Count, data_.size() - pos_);
    std::memcpy(Buffer, data_.constData() + pos_, static_cast<size_t>(n));
    pos_ += n;
    return n;
}

int64_t TMemoryStream::Write(const void *Buffer, int64_t Count)
{
    if (Count <= 0 || pos_ < 0)
        return 0;
    const int64_t end = pos_ + Count;
    if (end > data_.size())
        SetSize(end);
    std::memcpy(data_.data() + pos_, Buffer, static_cast<size_t>(Count));
    pos_ = end;
    return Count;
}

int64_t TMemoryStream::Seek(int64_t Offset, int Origin)
{
    switch (Origin) {
    case soFromCurrent: pos_ += Offset; break;
    case soFromEnd: pos_ = data_.size() + Offset; break;
    default: pos_ = Offset;
    }
    return pos_;
}

void TMemoryStream::SetSize(int64_t NewSize)
{
    if (NewSize < 0)
        NewSize = 0;
    const qsizetype old = data_.size();
    data_.resize(static_cast<qsizetype>(NewSize));
    if (NewSize > old)
        std::memset(data_.data() + old, 0, static_cast<size_t>(NewSize - old));
    if (pos_ > NewSize)
        pos_ = NewSize;
}

void TMemoryStream::Clear()
{
    data_.clear();
    pos_ = 0;
}

void TMemoryStream::LoadFromStream(TStream *Stream)
{
    Stream->SetPosition(0);
    const int64_t n = Stream->Size();
    SetSize(n);
    if (n > 0)
        Stream->ReadBuffer(data_.data(), n);
    pos_ = 0;
}

void TMemoryStream::SaveToStream(TStream *Stream)
{
    if (!data_.isEmpty())
        Stream->WriteBuffer(data_.constData(), data_.size());
}

void TMemoryStream::LoadFromFile(const QString &FileName)
{
    TFileStream f(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&f);
}

void TMemoryStream::SaveToFile(const QString &FileName)
{
    TFileStream f(FileName, fmCreate);
    SaveToStream(&f);
}

// ---------------------------------------------------------------------------------------------
// TStringStream

TStringStream::TStringStream(const QString &AString, TEncoding *AEncoding)
    : encoding_(AEncoding ? AEncoding : TEncoding::Default())
{
    data_ = encoding_->GetBytes(AString);
}

QString TStringStream::DataString() const { return encoding_->GetString(data_); }

void TStringStream::WriteString(const QString &AString)
{
    const QByteArray b = encoding_->GetBytes(AString);
    WriteBuffer(b.constData(), b.size());
}

QString TStringStream::ReadString(int64_t Count)
{
    QByteArray b(static_cast<qsizetype>(std::max<int64_t>(0, std::min<int64_t>(Count, Size() - Position()))),
                 Qt::Uninitialized);
    b.resize(static_cast<qsizetype>(Read(b.data(), b.size())));
    return encoding_->GetString(b);
}

// ---------------------------------------------------------------------------------------------
// TFileStream

TFileStream::TFileStream(const QString &AFileName, uint16_t Mode) : fileName_(AFileName), file_(AFileName)
{
    if ((Mode & 0xFF00) == fmCreate) {
        if (!file_.open(QIODevice::ReadWrite | QIODevice::Truncate))
            throw EFCreateError(QStringLiteral("Cannot create file \"%1\". %2").arg(AFileName, file_.errorString()));
        return;
    }
    QIODevice::OpenMode m;
    switch (Mode & 3) {
    case fmOpenWrite: m = QIODevice::WriteOnly | QIODevice::ExistingOnly; break;
    case fmOpenReadWrite: m = QIODevice::ReadWrite | QIODevice::ExistingOnly; break;
    default: m = QIODevice::ReadOnly;
    }
    // Opening for writing never truncates: the original overwrites in place.
    if (m & QIODevice::WriteOnly)
        m |= QIODevice::ReadOnly;
    if (QFileInfo(AFileName).isDir() || !file_.open(m))
        throw EFOpenError(QStringLiteral("Cannot open file \"%1\". %2")
                              .arg(AFileName, file_.error() == QFileDevice::NoError
                                                   ? QStringLiteral("It is a folder") : file_.errorString()));
    if ((Mode & 3) == fmOpenWrite)
        writeOnly_ = true;
}

TFileStream::~TFileStream() = default;

int64_t TFileStream::Read(void *Buffer, int64_t Count)
{
    if (Count <= 0 || writeOnly_)
        return 0;
    const qint64 n = file_.read(static_cast<char *>(Buffer), Count);
    return n < 0 ? 0 : n;
}

int64_t TFileStream::Write(const void *Buffer, int64_t Count)
{
    if (Count <= 0)
        return 0;
    const qint64 n = file_.write(static_cast<const char *>(Buffer), Count);
    return n < 0 ? 0 : n;
}

int64_t TFileStream::Seek(int64_t Offset, int Origin)
{
    int64_t target;
    switch (Origin) {
    case soFromCurrent: target = file_.pos() + Offset; break;
    case soFromEnd: target = file_.size() + Offset; break;
    default: target = Offset;
    }
    if (target < 0 || !file_.seek(target))
        return file_.pos();
    return target;
}

void TFileStream::SetSize(int64_t NewSize)
{
    const int64_t pos = file_.pos();
    if (!file_.resize(NewSize))
        throw EWriteError(QStringLiteral("Stream write error"));
    if (pos > NewSize)
        file_.seek(NewSize);
}
