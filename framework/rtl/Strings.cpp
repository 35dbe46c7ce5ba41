#include "framework/rtl/Strings.h"
#include "framework/rtl/Streams.h"
#include "framework/rtl/SysUtils.h"
#include <algorithm>
#include <memory>

// ---------------------------------------------------------------------------------------------
// TStrings

void TStrings::Error(const QString &Msg, int Data)
{
    throw EStringListError(QString(Msg).replace(QLatin1String("%d"), QString::number(Data)));
}

void TStrings::Put(int Index, const QString &S)
{
    TObject *o = GetObject(Index);
    Delete(Index);
    InsertObject(Index, S, o);
}

void TStrings::InsertObject(int Index, const QString &S, TObject *AObject)
{
    Insert(Index, S);
    PutObject(Index, AObject);
}

int TStrings::Add(const QString &S)
{
    const int i = GetCount();
    Insert(i, S);
    return i;
}

int TStrings::AddObject(const QString &S, TObject *AObject)
{
    const int i = Add(S);
    PutObject(i, AObject);
    return i;
}

void TStrings::AddStrings(TStrings *Strings)
{
    WithUpdate(*this, [&] {
        for (int i = 0; i < Strings->GetCount(); ++i)
            AddObject(Strings->Get(i), Strings->GetObject(i));
    });
}

void TStrings::AddStrings(const QStringList &Strings)
{
    WithUpdate(*this, [&] {
        for (const QString &s : Strings)
            Add(s);
    });
}

int TStrings::IndexOf(const QString &S) const
{
    for (int i = 0; i < GetCount(); ++i)
        if (CompareStrings(Get(i), S) == 0)
            return i;
    return -1;
}

int TStrings::IndexOfName(const QString &Name) const
{
    for (int i = 0; i < GetCount(); ++i) {
        const QString s = Get(i);
        const qsizetype p = s.indexOf(nameValueSeparator_);
        if (p >= 0 && CompareStrings(s.left(p), Name) == 0)
            return i;
    }
    return -1;
}

int TStrings::IndexOfObject(TObject *AObject) const
{
    for (int i = 0; i < GetCount(); ++i)
        if (GetObject(i) == AObject)
            return i;
    return -1;
}

void TStrings::Exchange(int Index1, int Index2)
{
    WithUpdate(*this, [&] {
        const QString s = Get(Index1);
        TObject *o = GetObject(Index1);
        Put(Index1, Get(Index2));
        PutObject(Index1, GetObject(Index2));
        Put(Index2, s);
        PutObject(Index2, o);
    });
}

void TStrings::Move(int CurIndex, int NewIndex)
{
    if (CurIndex == NewIndex)
        return;
    WithUpdate(*this, [&] {
        const QString s = Get(CurIndex);
        TObject *o = GetObject(CurIndex);
        Delete(CurIndex);
        InsertObject(NewIndex, s, o);
    });
}

bool TStrings::Equals(TStrings *Strings) const
{
    if (!Strings || Strings->GetCount() != GetCount())
        return false;
    for (int i = 0; i < GetCount(); ++i)
        if (Get(i) != Strings->Get(i))
            return false;
    return true;
}

void TStrings::Assign(TPersistent *Source)
{
    auto *src = dynamic_cast<TStrings *>(Source);
    if (!src) {
        TPersistent::Assign(Source);
        return;
    }
    if (src == this)
        return;
    WithUpdate(*this, [&] {
        Clear();
        nameValueSeparator_ = src->nameValueSeparator_;
        delimiter_ = src->delimiter_;
        quoteChar_ = src->quoteChar_;
        strictDelimiter_ = src->strictDelimiter_;
        AddStrings(src);
    });
}

QString TStrings::Names(int Index) const
{
    const QString s = Get(Index);
    const qsizetype p = s.indexOf(nameValueSeparator_);
    return p < 0 ? QString() : s.left(p);
}

QString TStrings::Values(const QString &Name) const
{
    const int i = IndexOfName(Name);
    return i < 0 ? QString() : ValueFromIndex(i);
}

void TStrings::SetValues(const QString &Name, const QString &Value)
{
    const int i = IndexOfName(Name);
    if (Value.isEmpty()) {
        if (i >= 0)
            Delete(i);
        return;
    }
    const QString entry = Name + nameValueSeparator_ + Value;
    if (i >= 0)
        Put(i, entry);
    else
        Add(entry);
}

QString TStrings::ValueFromIndex(int Index) const
{
    const QString s = Get(Index);
    const qsizetype p = s.indexOf(nameValueSeparator_);
    return p < 0 ? QString() : s.mid(p + 1);
}

void TStrings::SetValueFromIndex(int Index, const QString &Value)
{
    if (Value.isEmpty()) {
        Delete(Index);
        return;
    }
    Put(Index, Names(Index) + nameValueSeparator_ + Value);
}

QString TStrings::Text() const
{
    QString r;
    for (int i = 0; i < GetCount(); ++i) {
        r += Get(i);
        r += lineBreak_;
    }
    return r;
}

void TStrings::SetText(const QString &Value)
{
    WithUpdate(*this, [&] {
        Clear();
        const qsizetype n = Value.size();
        qsizetype start = 0, i = 0;
        while (i < n) {
            const QChar c = Value[i];
            if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
                Add(Value.mid(start, i - start));
                if (c == QLatin1Char('\r') && i + 1 < n && Value[i + 1] == QLatin1Char('\n'))
                    ++i;
                start = ++i;
            } else {
                ++i;
            }
        }
        if (start < n)
            Add(Value.mid(start));
    });
}

QString TStrings::DelimitedText() const { return delimitedText(delimiter_, quoteChar_, strictDelimiter_); }

void TStrings::SetDelimitedText(const QString &Value)
{
    setDelimitedText(Value, delimiter_, quoteChar_, strictDelimiter_);
}

// CommaText always uses the comma and the double quote, whatever Delimiter and QuoteChar say.
QString TStrings::CommaText() const { return delimitedText(QLatin1Char(','), QLatin1Char('"'), false); }

void TStrings::SetCommaText(const QString &Value)
{
    setDelimitedText(Value, QLatin1Char(','), QLatin1Char('"'), false);
}

QString TStrings::delimitedText(QChar delimiter, QChar quoteChar, bool strict) const
{
    const int n = GetCount();
    if (n == 1 && Get(0).isEmpty())
        return QString(2, quoteChar);
    QString r;
    for (int i = 0; i < n; ++i) {
        const QString s = Get(i);
        bool quote = false;
        for (QChar c : s)
            if (c == quoteChar || c == delimiter || (!strict && c.unicode() <= ' ') || (strict && c.unicode() == 0)) {
                quote = true;
                break;
            }
        if (i > 0)
            r += delimiter;
        r += quote ? AnsiQuotedStr(s, quoteChar) : s;
    }
    return r;
}

void TStrings::setDelimitedText(const QString &Value, QChar delimiter, QChar quoteChar, bool strict)
{
    const qsizetype n = Value.size();
    qsizetype i = 0;
    auto isBlank = [&](qsizetype k) { return !strict && Value[k].unicode() <= ' '; };
    auto skipBlanks = [&] {
        while (i < n && isBlank(i))
            ++i;
    };
    WithUpdate(*this, [&] {
        Clear();
        skipBlanks();
        while (i < n) {
            QString s;
            if (Value[i] == quoteChar) {
                // A quoted string; doubled quotes stand for one.
                ++i;
                while (i < n) {
                    if (Value[i] == quoteChar) {
                        if (i + 1 < n && Value[i + 1] == quoteChar) {
                            s += quoteChar;
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    s += Value[i++];
                }
            } else {
                const qsizetype from = i;
                while (i < n && Value[i] != delimiter && !isBlank(i))
                    ++i;
                s = Value.mid(from, i - from);
            }
            Add(s);
            skipBlanks();
            if (i < n && Value[i] == delimiter) {
                ++i;
                if (i >= n)
                    Add(QString()); // a trailing delimiter ends with an empty string
                skipBlanks();
            }
        }
    });
}

void TStrings::BeginUpdate()
{
    if (updateCount_ == 0)
        SetUpdateState(true);
    ++updateCount_;
}

void TStrings::EndUpdate()
{
    if (updateCount_ > 0 && --updateCount_ == 0)
        SetUpdateState(false);
}

void TStrings::LoadFromFile(const QString &FileName, TEncoding *Encoding)
{
    TFileStream f(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&f, Encoding);
}

void TStrings::LoadFromStream(TStream *Stream, TEncoding *Encoding)
{
    const int64_t size = Stream->Size() - Stream->Position();
    QByteArray bytes(static_cast<qsizetype>(std::max<int64_t>(size, 0)), Qt::Uninitialized);
    bytes.resize(static_cast<qsizetype>(Stream->Read(bytes.data(), bytes.size())));
    TEncoding *found = nullptr;
    const int bom = TEncoding::GetBufferEncoding(bytes, found);
    if (found || Encoding) {
        encoding_ = found ? found : Encoding;
        SetText(encoding_->GetString(bytes.mid(bom)));
    } else {
        SetText(TEncoding::DecodeFileText(bytes, &encoding_));
    }
}

void TStrings::SaveToFile(const QString &FileName, TEncoding *Encoding) const
{
    TFileStream f(FileName, fmCreate);
    SaveToStream(&f, Encoding);
}

void TStrings::SaveToStream(TStream *Stream, TEncoding *Encoding) const
{
    const QByteArray bytes = Encoding ? Encoding->GetPreamble() + Encoding->GetBytes(Text()) : TEncoding::EncodeFileText(Text());
    Stream->WriteBuffer(bytes.constData(), bytes.size());
}

QStringList TStrings::ToStringList() const
{
    QStringList r;
    r.reserve(GetCount());
    for (int i = 0; i < GetCount(); ++i)
        r << Get(i);
    return r;
}

int TStrings::CompareStrings(const QString &S1, const QString &S2) const { return AnsiCompareText(S1, S2); }

// ---------------------------------------------------------------------------------------------
// TStringList

TStringList::~TStringList()
{
    OnChange = nullptr;
    OnChanging = nullptr;
    if (ownsObjects_)
        for (Item &i : list_)
            delete std::exchange(i.o, nullptr);
}

void TStringList::checkIndex(int Index) const
{
    if (Index < 0 || Index >= GetCount())
        Error(QStringLiteral("List index out of bounds (%d)"), Index);
}

QString TStringList::Get(int Index) const
{
    checkIndex(Index);
    return list_[static_cast<size_t>(Index)].s;
}

TObject *TStringList::GetObject(int Index) const
{
    checkIndex(Index);
    return list_[static_cast<size_t>(Index)].o;
}

void TStringList::Put(int Index, const QString &S)
{
    if (sorted_)
        Error(QStringLiteral("Operation not allowed on sorted list"), 0);
    checkIndex(Index);
    Changing();
    list_[static_cast<size_t>(Index)].s = S;
    Changed();
}

void TStringList::PutObject(int Index, TObject *AObject)
{
    checkIndex(Index);
    Changing();
    TObject *old = std::exchange(list_[static_cast<size_t>(Index)].o, AObject);
    // An owning list would otherwise lose the replaced object.
    if (ownsObjects_ && old != AObject)
        delete old;
    Changed();
}

void TStringList::insertItem(int Index, const QString &S, TObject *AObject)
{
    Changing();
    list_.insert(list_.begin() + Index, Item{S, AObject});
    Changed();
}

void TStringList::Insert(int Index, const QString &S) { InsertObject(Index, S, nullptr); }

void TStringList::InsertObject(int Index, const QString &S, TObject *AObject)
{
    if (sorted_)
        Error(QStringLiteral("Operation not allowed on sorted list"), 0);
    if (Index < 0 || Index > GetCount())
        Error(QStringLiteral("List index out of bounds (%d)"), Index);
    insertItem(Index, S, AObject);
}

void TStringList::Delete(int Index)
{
    checkIndex(Index);
    Changing();
    TObject *o = list_[static_cast<size_t>(Index)].o;
    list_.erase(list_.begin() + Index);
    if (ownsObjects_)
        delete o;
    Changed();
}

void TStringList::Clear()
{
    if (list_.empty())
        return;
    Changing();
    std::vector<Item> old;
    old.swap(list_);
    if (ownsObjects_)
        for (Item &i : old)
            delete i.o;
    Changed();
}

int TStringList::Add(const QString &S) { return AddObject(S, nullptr); }

int TStringList::AddObject(const QString &S, TObject *AObject)
{
    int index = GetCount();
    if (sorted_) {
        if (Find(S, index)) {
            if (duplicates_ == dupIgnore)
                return index;
            if (duplicates_ == dupError)
                Error(QStringLiteral("String list does not allow duplicates"), 0);
        }
    }
    insertItem(index, S, AObject);
    return index;
}

int TStringList::IndexOf(const QString &S) const
{
    if (!sorted_)
        return TStrings::IndexOf(S);
    int i;
    return Find(S, i) ? i : -1;
}

void TStringList::Exchange(int Index1, int Index2)
{
    checkIndex(Index1);
    checkIndex(Index2);
    Changing();
    std::swap(list_[static_cast<size_t>(Index1)], list_[static_cast<size_t>(Index2)]);
    Changed();
}

void TStringList::Move(int CurIndex, int NewIndex)
{
    if (CurIndex == NewIndex)
        return;
    // Checked before anything moves, so that a refused move loses nothing.
    if (sorted_)
        Error(QStringLiteral("Operation not allowed on sorted list"), 0);
    checkIndex(CurIndex);
    checkIndex(NewIndex);
    Changing();
    Item it = std::move(list_[static_cast<size_t>(CurIndex)]);
    list_.erase(list_.begin() + CurIndex);
    list_.insert(list_.begin() + NewIndex, std::move(it));
    Changed();
}

bool TStringList::Find(const QString &S, int &Index) const
{
    int lo = 0, hi = GetCount();
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (CompareStrings(list_[static_cast<size_t>(mid)].s, S) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    Index = lo;
    return lo < GetCount() && CompareStrings(list_[static_cast<size_t>(lo)].s, S) == 0;
}

void TStringList::Sort()
{
    CustomSort([](TStringList *l, int a, int b) {
        return l->CompareStrings(l->list_[static_cast<size_t>(a)].s, l->list_[static_cast<size_t>(b)].s);
    });
}

void TStringList::CustomSort(const TStringListSortCompare &Compare)
{
    if (GetCount() < 2)
        return;
    Changing();
    // Sort a permutation with the caller's index-based comparison, then apply it. Stable, so
    // equal strings keep their order.
    std::vector<int> order(list_.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return Compare(this, a, b) < 0; });
    std::vector<Item> sorted;
    sorted.reserve(list_.size());
    for (int i : order)
        sorted.push_back(std::move(list_[static_cast<size_t>(i)]));
    list_.swap(sorted);
    Changed();
}

void TStringList::SetSorted(bool Value)
{
    if (Value == sorted_)
        return;
    if (Value)
        Sort();
    sorted_ = Value;
}

void TStringList::SetCaseSensitive(bool Value)
{
    if (Value == caseSensitive_)
        return;
    caseSensitive_ = Value;
    if (sorted_)
        Sort();
}

int TStringList::CompareStrings(const QString &S1, const QString &S2) const
{
    return caseSensitive_ ? AnsiCompareStr(S1, S2) : AnsiCompareText(S1, S2);
}

void TStringList::Changed()
{
    if (UpdateCount() == 0 && OnChange)
        OnChange(this);
}

void TStringList::Changing()
{
    if (UpdateCount() == 0 && OnChanging)
        OnChanging(this);
}

void TStringList::SetUpdateState(bool Updating)
{
    if (Updating)
        Changing();
    else
        Changed();
}
