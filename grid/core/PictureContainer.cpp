#include "grid/core/PictureContainer.h"

#include "framework/rtl/SysUtils.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPainter>

namespace
{
uint16_t le16(const QByteArray &b, qsizetype i)
{
    return uint16_t(uint8_t(b[i]) | (uint8_t(b[i + 1]) << 8));
}

// A frame starts at a graphic control extension (0x21 0xF9 0x04, packed byte, delay, colour
// index, terminator) that is directly followed by an image descriptor (0x2C). Margin: how many
// bytes must follow the 0x21.
std::vector<qsizetype> frameStarts(const QByteArray &b, qsizetype margin)
{
    std::vector<qsizetype> starts;
    const qsizetype n = b.size();
    for (qsizetype i = 0; n - i > margin; ++i)
        if (uint8_t(b[i]) == 0x21 && uint8_t(b[i + 1]) == 0xF9 && uint8_t(b[i + 2]) == 0x04 &&
            uint8_t(b[i + 8]) == 0x2C)
            starts.push_back(i);
    return starts;
}

constexpr const char *kInvalidFormat = "Could not load image. Invalid format";
} // namespace

// ---------------------------------------------------------------------------------------------
// THTMLPicture

THTMLPicture::THTMLPicture() = default;
THTMLPicture::~THTMLPicture() = default;

void THTMLPicture::clearFrames()
{
    FFrameCount = -1;
    FNextCount = -1;
    FTimerCount = -1;
    FFrame = 1;
    FAnimMaxX = FAnimMaxY = 0;
    FFrameXPos = FFrameYPos = FFrameXSize = FFrameYSize = 0;
}

void THTMLPicture::setEmpty()
{
    FIsEmpty = true;
    FImage = QImage();
}

void THTMLPicture::Assign(TPersistent *Source)
{
    setEmpty();
    clearFrames();
    if (!Source) {
        FDatastream.Clear();
        return;
    }
    if (auto *src = dynamic_cast<THTMLPicture *>(Source)) {
        if (src == this)
            return;
        loadData(src->FDatastream.Bytes(), true);
        return;
    }
}

void THTMLPicture::loadData(const QByteArray &Data, bool Raise)
{
    clearFrames();
    FDatastream.Clear();
    FDatastream.Write(Data.constData(), Data.size());
    FIsEmpty = false;
    try {
        decode();
    } catch (...) {
        setEmpty();
        if (Raise)
            throw;
        return;
    }
    Changed();
}

void THTMLPicture::LoadFromFile(const QString &FileName)
{
    QFile f(FileName);
    if (!f.open(QIODevice::ReadOnly)) {
        setEmpty();
        return;
    }
    loadData(f.readAll(), false);
}

void THTMLPicture::LoadFromStream(TStream *Stream)
{
    if (!Stream)
        return;
    const int64_t n = Stream->Size() - Stream->Position();
    QByteArray data(qsizetype(std::max<int64_t>(n, 0)), Qt::Uninitialized);
    if (n > 0)
        Stream->ReadBuffer(data.data(), n);
    loadData(data, true);
}

void THTMLPicture::LoadFromData(const QByteArray &Data) { loadData(Data, true); }

void THTMLPicture::SaveToStream(TStream *Stream)
{
    if (Stream && FDatastream.Size() > 0)
        Stream->WriteBuffer(FDatastream.Bytes().constData(), FDatastream.Size());
}

void THTMLPicture::LoadFromResourceName(HINSTANCE Instance, const QString &ResName)
{
    QByteArray data;
    if (!FindResourceData(Instance, ResName, RT_RCDATA, data))
        return;
    TMemoryStream s;
    s.Write(data.constData(), data.size());
    s.SetPosition(0);
    LoadFromStream(&s);
}

void THTMLPicture::LoadFromResourceID(HINSTANCE Instance, int32_t ResID)
{
    QByteArray data;
    if (!FindResourceData(Instance, ResID, RT_RCDATA, data))
        throw EResNotFound(QStringLiteral("Resource %1 not found").arg(ResID));
    TMemoryStream s;
    s.Write(data.constData(), data.size());
    s.SetPosition(0);
    LoadFromStream(&s);
}

void THTMLPicture::LoadFromURL(const QString &URL)
{
    const QString u = URL.toUpper();
    if (u.startsWith(QLatin1String("RES://"))) {
        FID = URL;
        LoadFromResourceName(HInstance, URL.mid(6));
    } else if (u.startsWith(QLatin1String("FILE://"))) {
        FID = URL;
        LoadFromFile(URL.mid(7));
    } else if (!FAsynch) {
        FURL = URL;
        FID = URL;
    } else if (!FThreadBusy) {
        // Network addresses are not fetched: the download would do nothing, so none is started.
        FURL = URL;
        FThreadBusy = true;
    }
}

bool THTMLPicture::IsGIF() const
{
    const QByteArray &b = FDatastream.Bytes();
    return b.size() >= 5 && b.startsWith("GIF8");
}

int32_t THTMLPicture::FrameCount()
{
    if (FFrameCount == -1 && IsGIF())
        FFrameCount = int32_t(frameStarts(FDatastream.Bytes(), 9).size());
    return FFrameCount;
}

int32_t THTMLPicture::GetFrameTime(int32_t i) const
{
    const QByteArray &b = FDatastream.Bytes();
    const auto starts = frameStarts(b, 8);
    if (i < 1 || i > int32_t(starts.size()))
        return -1;
    return le16(b, starts[size_t(i - 1)] + 4);
}

void THTMLPicture::decode()
{
    QByteArray data = FDatastream.Bytes();
    bool framed = false;
    if (IsGIF() && FrameCount() >= 1 && data.size() >= 10) {
        FAnimMaxX = le16(data, 6);
        FAnimMaxY = le16(data, 8);
        const auto starts = frameStarts(data, 9);
        if (FFrame >= 1 && FFrame <= int32_t(starts.size())) {
            const qsizetype cur = starts[size_t(FFrame - 1)];
            if (cur + 16 < data.size()) {
                const uint8_t packed = uint8_t(data[cur + 3]);
                FFrameTransp = packed & 1;
                FFrameDisposal = uint16_t((packed >> 2) & 7);
                FFrameXPos = le16(data, cur + 9);
                FFrameYPos = le16(data, cur + 11);
                FFrameXSize = le16(data, cur + 13);
                FFrameYSize = le16(data, cur + 15);
                framed = true;
            }
            if (cur > starts.front())
                data = data.left(starts.front()) + data.mid(cur);
        }
    }
    QBuffer buf(&data);
    buf.open(QIODevice::ReadOnly);
    QImageReader reader(&buf);
    QImage img = reader.read();
    if (img.isNull())
        throw EInvalidGraphic(QString::fromLatin1(kInvalidFormat));
    // The reader paints a GIF frame onto the whole logical screen; the picture is the frame.
    if (framed && FFrameXSize > 0 && FFrameYSize > 0) {
        const QRect fr = QRect(FFrameXPos, FFrameYPos, FFrameXSize, FFrameYSize).intersected(img.rect());
        if (!fr.isEmpty() && fr != img.rect())
            img = img.copy(fr);
    }
    FImage = img.convertToFormat(QImage::Format_ARGB32);
}

int THTMLPicture::Width() const { return FImage.isNull() ? 0 : FImage.width() * FLogPixX / 96; }
int THTMLPicture::Height() const { return FImage.isNull() ? 0 : FImage.height() * FLogPixY / 96; }

int32_t THTMLPicture::MaxWidth() const { return FAnimMaxX > 0 ? FAnimMaxX : Width(); }
int32_t THTMLPicture::MaxHeight() const { return FAnimMaxY > 0 ? FAnimMaxY : Height(); }

void THTMLPicture::SetFrame(int32_t v)
{
    FFrame = v;
    if (FDatastream.Size() == 0)
        return;
    try {
        decode();
    } catch (...) {
        setEmpty();
        throw;
    }
    if (OnFrameChange)
        OnFrameChange(this);
}

void THTMLPicture::FrameNext()
{
    const int32_t n = FrameCount();
    SetFrame(FFrame >= n ? 1 : FFrame + 1);
}

void THTMLPicture::FramePrev()
{
    const int32_t n = FrameCount();
    SetFrame(FFrame <= 1 ? std::max(n, 1) : FFrame - 1);
}

bool THTMLPicture::Step()
{
    if (FDatastream.Size() == 0 || FrameCount() < 2)
        return false;
    bool changed = false;
    if (FNextCount == -1)
        FNextCount = GetFrameTime(FFrame);
    if (FTimerCount * 10 >= FNextCount) {
        FrameNext();
        FNextCount += GetFrameTime(FFrame);
        changed = true;
    }
    ++FTimerCount;
    return changed;
}

void THTMLPicture::Draw(TCanvas *ACanvas, const TRect &R)
{
    if (FIsEmpty || FImage.isNull() || !ACanvas)
        return;
    QPainter *p = ACanvas->Painter();
    if (!p || !p->isActive())
        return;
    if (FStretched) {
        p->drawImage(QRect(R.Left, R.Top, R.Width(), R.Height()), FImage);
        return;
    }
    const int w = Width() * ACanvas->PixelsPerInchX() / 96, h = Height() * ACanvas->PixelsPerInchY() / 96;
    p->drawImage(QRect(R.Left, R.Top, w, h), FImage);
}

// ---------------------------------------------------------------------------------------------
// THTMLPictureCache

THTMLPicture *THTMLPictureCache::AddPicture()
{
    FItems.push_back(std::make_unique<THTMLPicture>());
    return FItems.back().get();
}

THTMLPicture *THTMLPictureCache::FindPicture(const QString &ID) const
{
    for (const auto &p : FItems)
        if (p->ID() == ID)
            return p.get();
    return nullptr;
}

THTMLPicture *THTMLPictureCache::GetPicture(int32_t Index) const
{
    if (Index < 0 || Index >= Count())
        ListIndexError(Index);
    return FItems[size_t(Index)].get();
}

void THTMLPictureCache::SetPicture(int32_t Index, THTMLPicture *Value)
{
    if (Index < 0 || Index >= Count())
        ListIndexError(Index);
    if (FItems[size_t(Index)].get() != Value)
        FItems[size_t(Index)].reset(Value);
}

void THTMLPictureCache::ClearPictures() { FItems.clear(); }

bool THTMLPictureCache::Animate()
{
    bool changed = false;
    for (const auto &p : FItems)
        changed = p->Step() || changed;
    return changed;
}

// ---------------------------------------------------------------------------------------------
// Named pictures

TPictureItem::TPictureItem(TCollection *Collection) : TCollectionItem(Collection) {}

void TPictureItem::Assign(TPersistent *Source)
{
    if (auto *src = dynamic_cast<TPictureItem *>(Source)) {
        FName = src->FName;
        FTag = src->FTag;
        FPicture->Assign(src->FPicture.get());
        return;
    }
    TCollectionItem::Assign(Source);
}

TPictureCollection::TPictureCollection(TComponent *AOwner)
    : TCollection(CollectionItemClass<TPictureItem>()), FOwner(AOwner)
{
}

bool TPictureCollection::Animate()
{
    bool changed = false;
    for (int32_t i = 0; i < Count(); ++i)
        changed = Items(i)->Picture()->Step() || changed;
    return changed;
}

TPictureContainer::TPictureContainer(TComponent *AOwner)
    : TComponent(AOwner), FItems(std::make_unique<TPictureCollection>(this))
{
}

TPictureContainer::~TPictureContainer() = default;

THTMLPicture *TPictureContainer::FindPicture(const QString &Name)
{
    const QString n = UpperCase(Name);
    for (int32_t i = 0; i < FItems->Count(); ++i)
        if (UpperCase(FItems->Items(i)->Name()) == n)
            return FItems->Items(i)->Picture();
    return nullptr;
}

QString TPictureContainer::Version() const
{
    const uint32_t v = 0x01000000;
    return QStringLiteral("%1.%2.%3.%4").arg(v >> 24).arg((v >> 16) & 0xFF).arg((v >> 8) & 0xFF).arg(v & 0xFF);
}
