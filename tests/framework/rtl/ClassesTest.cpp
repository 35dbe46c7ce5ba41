#include "framework/rtl/Classes.h"
#include "framework/rtl/Variants.h"
#include "tests/common/TestSupport.h"
#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>
#include <cstring>

namespace {
struct Tracked : TObject
{
    int *deaths;
    explicit Tracked(int *d) : deaths(d) {}
    ~Tracked() override { ++*deaths; }
};

// Remembers the components it was told about.
class Watcher : public TComponent
{
public:
    using TComponent::TComponent;
    std::vector<TComponent *> removed;

protected:
    void Notification(TComponent *AComponent, TOperation Operation) override
    {
        TComponent::Notification(AComponent, Operation);
        if (Operation == opRemove)
            removed.push_back(AComponent);
    }
};

class Dying : public TComponent
{
public:
    Dying(TComponent *owner, int *deaths) : TComponent(owner), deaths_(deaths) {}
    ~Dying() override { ++*deaths_; }

private:
    int *deaths_;
};

class NamedItem : public TCollectionItem
{
public:
    using TCollectionItem::TCollectionItem;
    QString name;
    void Assign(TPersistent *Source) override
    {
        if (auto *s = dynamic_cast<NamedItem *>(Source))
            name = s->name;
        else
            TCollectionItem::Assign(Source);
    }
};

class CountingCollection : public TCollection
{
public:
    CountingCollection() : TCollection(CollectionItemClass<NamedItem>()) {}
    int updates = 0;
    NamedItem *Item(int i) const { return static_cast<NamedItem *>(Items(i)); }

protected:
    void Update(TCollectionItem *) override { ++updates; }
};
} // namespace

TEST(Component, OwnershipAndFreeNotification)
{
    int deaths = 0;
    auto *owner = new TComponent();
    auto *a = new Dying(owner, &deaths);
    auto *b = new Dying(owner, &deaths);
    a->SetName(QStringLiteral("Alpha"));
    EXPECT_EQ(owner->ComponentCount(), 2);
    EXPECT_EQ(owner->FindComponent(QStringLiteral("ALPHA")), a);
    EXPECT_EQ(b->ComponentIndex(), 1);
    EXPECT_EQ(a->GetOwner(), owner);

    Watcher watcher;
    b->FreeNotification(&watcher);
    delete b; // leaves its owner and tells the watcher
    EXPECT_EQ(deaths, 1);
    EXPECT_EQ(owner->ComponentCount(), 1);
    ASSERT_EQ(watcher.removed.size(), 1u);
    EXPECT_EQ(watcher.removed[0], b);

    a->FreeNotification(&watcher);
    delete owner; // frees what it owns
    EXPECT_EQ(deaths, 2);
    EXPECT_EQ(watcher.removed.back(), a);

    // A watcher that goes first is forgotten by the one it watched.
    Dying target(nullptr, &deaths);
    {
        Watcher shortLived;
        target.FreeNotification(&shortLived);
    }
}

TEST(List, PointerListAndOwningObjectList)
{
    int a = 1, b = 2, c = 3;
    TList l;
    l.Add(&a);
    l.Add(nullptr);
    l.Add(&b);
    l.Insert(0, &c);
    EXPECT_EQ(l.IndexOf(&b), 3);
    l.Pack();
    EXPECT_EQ(l.Count(), 3);
    l.Move(0, 2);
    EXPECT_EQ(l.Last(), &c);
    l.Exchange(0, 1);
    EXPECT_EQ(l.First(), &b);
    l.Sort([](void *x, void *y) { return *static_cast<int *>(x) - *static_cast<int *>(y); });
    EXPECT_EQ(l.Items(0), &a);
    EXPECT_EQ(l.Remove(&b), 1);
    EXPECT_EQ(l.Remove(&b), -1);
    try {
        l.Delete(5);
        ADD_FAILURE();
    } catch (const EListError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("List index out of bounds (5)"));
    }
    EXPECT_THROW(l.Insert(-1, &a), EListError);

    int deaths = 0;
    {
        TObjectList owned;
        owned.Add(new Tracked(&deaths));
        owned.Add(new Tracked(&deaths));
        auto *kept = new Tracked(&deaths);
        owned.Add(kept);
        owned.Delete(0);
        EXPECT_EQ(deaths, 1);
        EXPECT_EQ(owned.Extract(kept), kept);
        EXPECT_EQ(deaths, 1);
        delete kept;
    }
    EXPECT_EQ(deaths, 3);
    TObjectList notOwned(false);
    Tracked t(&deaths);
    notOwned.Add(&t);
    notOwned.Clear();
    EXPECT_EQ(deaths, 3);
}

TEST(Collection, ItemsUpdatesAndAssign)
{
    CountingCollection col;
    auto *first = static_cast<NamedItem *>(col.Add());
    first->name = QStringLiteral("one");
    auto *second = static_cast<NamedItem *>(col.Add());
    second->name = QStringLiteral("two");
    auto *zero = static_cast<NamedItem *>(col.Insert(0));
    zero->name = QStringLiteral("zero");
    EXPECT_EQ(col.Count(), 3);
    EXPECT_EQ(zero->Index(), 0);
    EXPECT_EQ(second->Index(), 2);
    EXPECT_EQ(zero->GetOwner(), &col);
    EXPECT_EQ(col.FindItemID(second->ID()), second);
    second->SetIndex(0);
    EXPECT_EQ(col.Item(0)->name, QStringLiteral("two"));

    col.updates = 0;
    col.BeginUpdate();
    col.Add();
    col.Delete(3);
    EXPECT_EQ(col.updates, 0);
    col.EndUpdate();
    EXPECT_EQ(col.updates, 1);
    delete col.Items(1); // an item freed on its own leaves the collection
    EXPECT_EQ(col.Count(), 2);
    EXPECT_THROW(col.Items(2), EListError);

    CountingCollection copy;
    copy.Add();
    copy.Assign(&col);
    ASSERT_EQ(copy.Count(), 2);
    EXPECT_EQ(copy.Item(0)->name, QStringLiteral("two"));
    EXPECT_EQ(copy.Item(1)->name, QStringLiteral("one"));
    EXPECT_NE(copy.Items(0), col.Items(0));
    TStringList notACollection;
    EXPECT_THROW(copy.Assign(&notACollection), EConvertError);
}

TEST(Stream, MemoryFileAndStringStreams)
{
    TMemoryStream m;
    const char data[] = "hello";
    m.WriteBuffer(data, 5);
    EXPECT_EQ(m.Size(), 5);
    m.Seek(-2, soFromEnd);
    char buf[8] = {};
    EXPECT_EQ(m.Read(buf, 8), 2);
    EXPECT_EQ(QByteArray(buf, 2), QByteArray("lo"));
    m.SetPosition(0);
    EXPECT_THROW(m.ReadBuffer(buf, 6), EReadError);
    m.Seek(-10, soFromBeginning); // before the start reads nothing
    EXPECT_EQ(m.Read(buf, 1), 0);
    m.SetPosition(7); // writing past the end fills the gap with zeros
    m.WriteBuffer("!", 1);
    EXPECT_EQ(m.Bytes(), QByteArray("hello\0\0!", 8));
    m.SetSize(3);
    EXPECT_EQ(m.Position(), 3);
    EXPECT_EQ(m.Bytes(), QByteArray("hel"));

    QTemporaryDir tmp;
    const QString path = tmp.filePath(QStringLiteral("s.bin"));
    m.SaveToFile(path);
    {
        TFileStream f(path, fmOpenReadWrite | fmShareDenyNone);
        EXPECT_EQ(f.Size(), 3);
        f.Seek(0, soFromEnd);
        f.WriteBuffer("\r\n", 2); // binary: no translation
    }
    {
        TFileStream r(path, fmOpenRead);
        EXPECT_THROW(r.WriteBuffer("x", 1), EWriteError);
        TMemoryStream copy;
        EXPECT_EQ(copy.CopyFrom(&r, 0), 5);
        EXPECT_EQ(copy.Bytes(), QByteArray("hel\r\n"));
    }
    try {
        TFileStream missing(tmp.filePath(QStringLiteral("none")), fmOpenRead);
        ADD_FAILURE();
    } catch (const EFOpenError &e) {
        EXPECT_TRUE(e.Message().startsWith(QStringLiteral("Cannot open file \"")));
    }
    EXPECT_THROW(TFileStream(tmp.filePath(QStringLiteral("no/such/dir")), fmCreate), EFCreateError);

    TStringStream s(QStringLiteral("\u20acx"));
    EXPECT_EQ(s.Size(), 2);
    EXPECT_EQ(s.Bytes(), QByteArray("\x80x"));
    s.Seek(0, soFromEnd);
    s.WriteString(QStringLiteral("yz"));
    s.SetPosition(1);
    EXPECT_EQ(s.ReadString(2), QStringLiteral("xy"));
    EXPECT_EQ(s.DataString(), QStringLiteral("\u20acxyz"));
}

TEST(VariantValue, KindsConversionsAndComparison)
{
    EXPECT_EQ(VarType(Variant()), varEmpty);
    EXPECT_EQ(VarType(Variant(5)), varInteger);
    EXPECT_EQ(VarType(Variant(2.5)), varDouble);
    EXPECT_EQ(VarType(Variant(2.5f)), varSingle);
    EXPECT_EQ(VarType(Variant(int16_t(2))), varSmallint);
    EXPECT_EQ(VarType(Variant(uint8_t(2))), varByte);
    EXPECT_EQ(VarType(Variant(int64_t(2))), varInt64);
    EXPECT_EQ(VarType(Variant(true)), varBoolean);
    EXPECT_EQ(VarType(Variant("s")), varUString);
    EXPECT_EQ(VarType(Variant::FromDate(1)), varDate);
    EXPECT_EQ(VarType(Variant::FromCurrency(1.5)), varCurrency);
    EXPECT_TRUE(VarIsNumeric(Variant::FromCurrency(1)));
    EXPECT_FALSE(VarIsNumeric(Variant(true)));
    EXPECT_TRUE(VarIsStr(Variant::FromAnsiString(QStringLiteral("a"))));

    EXPECT_EQ(Variant(QStringLiteral(" 2.5 ")).AsDouble(), 2.5);
    EXPECT_EQ(Variant(2.5).AsInteger(), 2); // halves to even
    EXPECT_EQ(Variant(3.5).AsInteger(), 4);
    EXPECT_EQ(Variant(QStringLiteral("7")).AsInteger(), 7);
    EXPECT_EQ(Variant(true).AsInteger(), -1);
    EXPECT_EQ(Variant(QStringLiteral("true")).AsBoolean(), true);
    EXPECT_EQ(Variant(true).AsString(), QStringLiteral("True"));
    EXPECT_EQ(Variant(0.1).AsString(), QStringLiteral("0.1"));
    EXPECT_EQ(Variant::FromCurrency(1.23456).AsString(), QStringLiteral("1.2346"));
    EXPECT_EQ(Variant::FromDate(EncodeDate(2024, 3, 5)).AsString(), QStringLiteral("3/5/2024"));
    EXPECT_EQ(Variant().AsInteger(), 0);
    EXPECT_EQ(VarToStr(Variant::Null()), QString());
    EXPECT_EQ(VarAsType(Variant(QStringLiteral("42")), varInteger).VType(), varInteger);
    try {
        Variant(QStringLiteral("abc")).AsDouble();
        ADD_FAILURE();
    } catch (const EVariantError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Could not convert variant of type (UnicodeString) into type (Double)"));
    }
    EXPECT_THROW(Variant::Null().AsInteger(), EVariantError);
    EXPECT_THROW(Variant::FromError(2015).AsString(), EVariantError);
    try {
        Variant(1e12).AsInteger();
        ADD_FAILURE();
    } catch (const EVariantError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Overflow while converting variant of type (Double) into type (Integer)"));
    }

    EXPECT_TRUE(Variant(2) == Variant(2.0));
    EXPECT_TRUE(Variant(QStringLiteral("10")) == Variant(10));
    EXPECT_TRUE(Variant(QStringLiteral("a")) < Variant(QStringLiteral("b")));
    EXPECT_TRUE(Variant(int64_t(9007199254740993LL)) > Variant(int64_t(9007199254740992LL)));
    EXPECT_TRUE(Variant::Null() == Variant::Null());
    EXPECT_FALSE(Variant::Null() == Variant(0));
    EXPECT_FALSE(Variant::Null() < Variant(0));
    EXPECT_TRUE(Variant() == Variant(0));
    EXPECT_TRUE(Variant() == Variant(QString()));
    EXPECT_EQ(VarCompareValue(Variant(1), Variant::Null()), vrNotEqual);
}
