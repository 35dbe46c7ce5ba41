#pragma once
// Byte streams and text encodings. Files are always binary.
#include "framework/rtl/Classes.h"
#include <QByteArray>
#include <QFile>
#include <QString>
#include <memory>

// Text encodings for string lists and string streams.
class TEncoding
{
public:
    enum Kind { ekAnsi, ekUTF8, ekUnicode, ekBigEndianUnicode, ekUTF32, ekBigEndianUTF32 };
    // Windows-1252, the "ANSI code page" of text files.
    static TEncoding *Default();
    static TEncoding *ANSI() { return Default(); }
    static TEncoding *UTF8();
    // UTF-16 little endian.
    static TEncoding *Unicode();
    static TEncoding *BigEndianUnicode();
    // UTF-32 little and big endian: read from their byte-order marks, written only on request.
    static TEncoding *UTF32();
    static TEncoding *BigEndianUTF32();

    Kind EncodingKind() const { return kind_; }
    QByteArray GetBytes(const QString &S) const;
    QString GetString(const QByteArray &Bytes) const;
    // The byte-order mark written before the text (empty for ANSI).
    QByteArray GetPreamble() const;
    // Finds the encoding from a byte-order mark at the start of Buffer; returns the mark's
    // length (0 and nullptr when there is none).
    static int GetBufferEncoding(const QByteArray &Buffer, TEncoding *&AEncoding);

    // The text of a file's bytes. A byte-order mark names the encoding; without one, bytes that
    // are valid UTF-8 are read as UTF-8 and any others as Windows-1252. Found (when given) gets
    // the encoding that was read.
    static QString DecodeFileText(const QByteArray &Bytes, TEncoding **Found = nullptr);
    // The bytes of a text file holding Text, byte-order mark included, chosen so that
    // DecodeFileText gives Text back: Windows-1252, the code page of the files other programs
    // of the field exchange, whenever it carries every character and cannot be mistaken for
    // another encoding; otherwise UTF-8 with its byte-order mark (a name outside Windows-1252,
    // 8-bit text that would read as UTF-8 or start like a byte-order mark, a leading U+FEFF).
    // Used (when given) gets the encoding written.
    static QByteArray EncodeFileText(const QString &Text, TEncoding **Used = nullptr);

private:
    explicit TEncoding(Kind k) : kind_(k) {}
    Kind kind_;
};

enum TSeekOrigin { soBeginning = 0, soCurrent = 1, soEnd = 2 };
constexpr int soFromBeginning = 0;
constexpr int soFromCurrent = 1;
constexpr int soFromEnd = 2;

class TStream : public TObject
{
public:
    // Read and Write move at most Count bytes and return how many moved.
    virtual int64_t Read(void *Buffer, int64_t Count) = 0;
    virtual int64_t Write(const void *Buffer, int64_t Count) = 0;
    // Origin is soFromBeginning, soFromCurrent or soFromEnd; returns the new position.
    virtual int64_t Seek(int64_t Offset, int Origin) = 0;

    // Raise EReadError "Stream read error" / EWriteError "Stream write error" when short.
    void ReadBuffer(void *Buffer, int64_t Count);
    void WriteBuffer(const void *Buffer, int64_t Count);

    int64_t Position() { return Seek(0, soFromCurrent); }
    void SetPosition(int64_t Pos) { Seek(Pos, soFromBeginning); }
    virtual int64_t Size();
    virtual void SetSize(int64_t NewSize);
    // Copies Count bytes from Source's position, or all of Source from its start when Count is 0.
    int64_t CopyFrom(TStream *Source, int64_t Count);
};

// A stream in memory; writing past the end grows it.
class TMemoryStream : public TStream
{
public:
    int64_t Read(void *Buffer, int64_t Count) override;
    int64_t Write(const void *Buffer, int64_t Count) override;
    int64_t Seek(int64_t Offset, int Origin) override;
    int64_t Size() override { return data_.size(); }
    void SetSize(int64_t NewSize) override;

    void *Memory() { return data_.data(); }
    const QByteArray &Bytes() const { return data_; }
    void Clear();
    void LoadFromStream(TStream *Stream);
    void SaveToStream(TStream *Stream);
    void LoadFromFile(const QString &FileName);
    void SaveToFile(const QString &FileName);

protected:
    QByteArray data_;
    int64_t pos_ = 0;
};

// Text held as bytes of an encoding (ANSI by default).
class TStringStream : public TMemoryStream
{
public:
    explicit TStringStream(const QString &AString = QString(), TEncoding *AEncoding = nullptr);
    QString DataString() const;
    void WriteString(const QString &AString);
    // Reads up to Count bytes from the position and decodes them.
    QString ReadString(int64_t Count);

private:
    TEncoding *encoding_;
};

constexpr uint16_t fmCreate = 0xFF00;
constexpr uint16_t fmOpenRead = 0x0000;
constexpr uint16_t fmOpenWrite = 0x0001;
constexpr uint16_t fmOpenReadWrite = 0x0002;
constexpr uint16_t fmShareCompat = 0x0000;
constexpr uint16_t fmShareExclusive = 0x0010;
constexpr uint16_t fmShareDenyWrite = 0x0020;
constexpr uint16_t fmShareDenyRead = 0x0030;
constexpr uint16_t fmShareDenyNone = 0x0040;

// A file opened in binary mode. fmCreate creates or truncates; the share flags are accepted
// and have no effect here. Raises EFCreateError / EFOpenError with the system's reason.
class TFileStream : public TStream
{
public:
    TFileStream(const QString &AFileName, uint16_t Mode);
    ~TFileStream() override;
    int64_t Read(void *Buffer, int64_t Count) override;
    int64_t Write(const void *Buffer, int64_t Count) override;
    int64_t Seek(int64_t Offset, int Origin) override;
    int64_t Size() override { return file_.size(); }
    void SetSize(int64_t NewSize) override;
    const QString &FileName() const { return fileName_; }

private:
    QString fileName_;
    QFile file_;
    bool writeOnly_ = false;
};
