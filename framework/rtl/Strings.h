#pragma once
// String lists: strings, each with an optional object.
#include "framework/rtl/Classes.h"
#include <QStringList>
#include <functional>
#include <vector>

class TStream;
class TEncoding;

enum TDuplicates { dupIgnore, dupAccept, dupError };

// The abstract list. A derived class supplies Get, GetCount, Insert, Delete and Clear (and
// GetObject/PutObject when it keeps objects); everything else is built on those.
class TStrings : public TPersistent
{
public:
    virtual QString Get(int Index) const = 0;
    virtual int GetCount() const = 0;
    virtual TObject *GetObject(int Index) const { return nullptr; }
    virtual void Put(int Index, const QString &S);
    virtual void PutObject(int Index, TObject *AObject) {}
    virtual void Insert(int Index, const QString &S) = 0;
    virtual void InsertObject(int Index, const QString &S, TObject *AObject);
    virtual void Delete(int Index) = 0;
    virtual void Clear() = 0;

    virtual int Add(const QString &S);
    virtual int AddObject(const QString &S, TObject *AObject);
    void Append(const QString &S) { Add(S); }
    void AddStrings(TStrings *Strings);
    void AddStrings(const QStringList &Strings);
    virtual int IndexOf(const QString &S) const;
    virtual int IndexOfName(const QString &Name) const;
    virtual int IndexOfObject(TObject *AObject) const;
    virtual void Exchange(int Index1, int Index2);
    virtual void Move(int CurIndex, int NewIndex);
    // Same strings in the same order (case-sensitive).
    bool Equals(TStrings *Strings) const;
    void Assign(TPersistent *Source) override;

    int Count() const { return GetCount(); }
    QString Strings(int Index) const { return Get(Index); }
    void SetStrings(int Index, const QString &S) { Put(Index, S); }
    TObject *Objects(int Index) const { return GetObject(Index); }
    void SetObjects(int Index, TObject *AObject) { PutObject(Index, AObject); }

    // "name=value" entries.
    QString Names(int Index) const;
    QString Values(const QString &Name) const;
    // An empty value removes the entry.
    void SetValues(const QString &Name, const QString &Value);
    QString ValueFromIndex(int Index) const;
    void SetValueFromIndex(int Index, const QString &Value);
    QChar NameValueSeparator() const { return nameValueSeparator_; }
    void SetNameValueSeparator(QChar c) { nameValueSeparator_ = c; }

    // Every string followed by LineBreak (CR LF by default).
    QString Text() const;
    // Splits at CR LF, LF or CR; a final line break adds no empty string.
    virtual void SetText(const QString &Value);
    QString LineBreak() const { return lineBreak_; }
    void SetLineBreak(const QString &v) { lineBreak_ = v; }
    QString CommaText() const;
    void SetCommaText(const QString &Value);
    QString DelimitedText() const;
    void SetDelimitedText(const QString &Value);
    QChar Delimiter() const { return delimiter_; }
    void SetDelimiter(QChar c) { delimiter_ = c; }
    QChar QuoteChar() const { return quoteChar_; }
    void SetQuoteChar(QChar c) { quoteChar_ = c; }
    // When set, only the delimiter separates strings (blanks are kept).
    bool StrictDelimiter() const { return strictDelimiter_; }
    void SetStrictDelimiter(bool v) { strictDelimiter_ = v; }

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    // Loading detects UTF-8 and UTF-16 byte-order marks; other bytes are read as Encoding, or
    // when nil as UTF-8 if they are valid UTF-8 and as Windows-1252 otherwise. Saving writes
    // Encoding with its byte-order mark; when nil, the encoding that reads back every character
    // (TEncoding::EncodeFileText).
    void LoadFromFile(const QString &FileName, TEncoding *Encoding = nullptr);
    void LoadFromStream(TStream *Stream, TEncoding *Encoding = nullptr);
    void SaveToFile(const QString &FileName, TEncoding *Encoding = nullptr) const;
    void SaveToStream(TStream *Stream, TEncoding *Encoding = nullptr) const;
    // The encoding found by the last load.
    TEncoding *Encoding() const { return encoding_; }

    QStringList ToStringList() const;

    // Case-insensitive locale order here; string lists may choose case sensitivity.
    virtual int CompareStrings(const QString &S1, const QString &S2) const;

protected:
    virtual void SetUpdateState(bool Updating) {}
    [[noreturn]] static void Error(const QString &Msg, int Data);

private:
    QString delimitedText(QChar delimiter, QChar quoteChar, bool strict) const;
    void setDelimitedText(const QString &Value, QChar delimiter, QChar quoteChar, bool strict);

    int updateCount_ = 0;
    QChar nameValueSeparator_ = QLatin1Char('=');
    QChar delimiter_ = QLatin1Char(',');
    QChar quoteChar_ = QLatin1Char('"');
    bool strictDelimiter_ = false;
    QString lineBreak_ = QStringLiteral("\r\n");
    TEncoding *encoding_ = nullptr;
};

class TStringList;
using TStringListSortCompare = std::function<int(TStringList *List, int Index1, int Index2)>;

class TStringList : public TStrings
{
public:
    TStringList() = default;
    explicit TStringList(bool AOwnsObjects) : ownsObjects_(AOwnsObjects) {}
    ~TStringList() override;

    QString Get(int Index) const override;
    int GetCount() const override { return static_cast<int>(list_.size()); }
    TObject *GetObject(int Index) const override;
    void Put(int Index, const QString &S) override;
    void PutObject(int Index, TObject *AObject) override;
    void Insert(int Index, const QString &S) override;
    void InsertObject(int Index, const QString &S, TObject *AObject) override;
    void Delete(int Index) override;
    void Clear() override;
    int Add(const QString &S) override;
    int AddObject(const QString &S, TObject *AObject) override;
    int IndexOf(const QString &S) const override;
    void Exchange(int Index1, int Index2) override;
    void Move(int CurIndex, int NewIndex) override;

    // Binary search of a sorted list: true and the first match's index, or false and the
    // index where S would go.
    virtual bool Find(const QString &S, int &Index) const;
    virtual void Sort();
    virtual void CustomSort(const TStringListSortCompare &Compare);

    bool Sorted() const { return sorted_; }
    void SetSorted(bool Value);
    TDuplicates Duplicates() const { return duplicates_; }
    void SetDuplicates(TDuplicates Value) { duplicates_ = Value; }
    bool CaseSensitive() const { return caseSensitive_; }
    void SetCaseSensitive(bool Value);
    // The list frees its objects when it deletes them, replaces them or is freed.
    bool OwnsObjects() const { return ownsObjects_; }
    void SetOwnsObjects(bool Value) { ownsObjects_ = Value; }

    int CompareStrings(const QString &S1, const QString &S2) const override;

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    virtual void Changed();
    virtual void Changing();
    void SetUpdateState(bool Updating) override;

private:
    struct Item
    {
        QString s;
        TObject *o = nullptr;
    };
    void checkIndex(int Index) const;
    void insertItem(int Index, const QString &S, TObject *AObject);

    std::vector<Item> list_;
    bool sorted_ = false;
    bool caseSensitive_ = false;
    bool ownsObjects_ = false;
    TDuplicates duplicates_ = dupIgnore;
};
