#pragma once
// Pictures for mini-HTML text: a picture that keeps its file's bytes (with the frames of
// animated GIF images), a cache of pictures by source, and a component of named pictures.
#include "framework/graphics/Graphics.h"
#include "framework/rtl/Resources.h"

#include <QImage>
#include <memory>
#include <vector>

using TDownLoadProgressEvent = std::function<void(TObject *Sender, uint32_t dwSize, uint32_t dwTotSize)>;
using TDownLoadErrorEvent = std::function<void(TObject *Sender, const QString &Err)>;

class THTMLPicture : public TGraphic
{
public:
    THTMLPicture();
    ~THTMLPicture() override;

    void Assign(TPersistent *Source) override;
    void LoadFromFile(const QString &FileName);
    void LoadFromStream(TStream *Stream);
    void SaveToStream(TStream *Stream);
    void LoadFromResourceName(HINSTANCE Instance, const QString &ResName);
    void LoadFromResourceID(HINSTANCE Instance, int32_t ResID);
    void LoadFromURL(const QString &URL);
    void LoadFromClipboardFormat(uint16_t, uintptr_t, uintptr_t) {}
    void SaveToClipboardFormat(uint16_t &, uintptr_t &, uintptr_t &) {}

    int Width() const override;
    int Height() const override;
    void SetWidth(int) override {}
    void SetHeight(int) override {}
    bool Empty() const override { return FIsEmpty; }
    void LoadFromData(const QByteArray &Data) override;
    QByteArray SaveToData() const override { return FDatastream.Bytes(); }
    QImage ToImage() const override { return FImage; }
    void Draw(TCanvas *ACanvas, const TRect &R) override;

    bool Stretch() const { return FStretched; }
    void SetStretch(bool v) { FStretched = v; }
    int32_t Frame() const { return FFrame; }
    void SetFrame(int32_t v);
    bool Busy() const { return FThreadBusy; }
    bool Asynch() const { return FAsynch; }
    void SetAsynch(bool v) { FAsynch = v; }
    const QString &ID() const { return FID; }
    void SetID(const QString &v) { FID = v; }
    const QString &URL() const { return FURL; }
    bool IsDB() const { return FIsDB; }
    void SetIsDB(bool v) { FIsDB = v; }
    bool IsGIF() const;
    int32_t FrameCount();
    // Delay of frame i in hundredths of a second, -1 when there is no such frame.
    int32_t GetFrameTime(int32_t i) const;
    int32_t MaxWidth() const;
    int32_t MaxHeight() const;
    uint16_t FrameXPos() const { return FFrameXPos; }
    uint16_t FrameYPos() const { return FFrameYPos; }
    uint16_t FrameXSize() const { return FFrameXSize; }
    uint16_t FrameYSize() const { return FFrameYSize; }
    bool FrameTransp() const { return FFrameTransp; }
    uint16_t FrameDisposal() const { return FFrameDisposal; }
    void FrameNext();
    void FramePrev();
    // One animation tick; true when the frame changed.
    bool Step();

    TNotifyEvent OnFrameChange;
    TDownLoadProgressEvent OnDownLoadProgress;
    TNotifyEvent OnDownLoadCancel;
    TNotifyEvent OnDownLoadComplete;
    TDownLoadErrorEvent OnDownLoadError;

private:
    void clearFrames();
    // Decodes the current frame of the bytes; raises on undecodable data.
    void decode();
    // Decodes and leaves the picture empty when that fails.
    void loadData(const QByteArray &Data, bool Raise);
    void setEmpty();

    TMemoryStream FDatastream;
    bool FIsEmpty = true;
    bool FStretched = false;
    QImage FImage;
    int32_t FLogPixX = 96;
    int32_t FLogPixY = 96;
    QString FURL;
    QString FID;
    bool FIsDB = false;
    bool FAsynch = true;
    bool FThreadBusy = false;
    int32_t FFrame = 1;
    int32_t FFrameCount = -1;
    uint16_t FFrameXPos = 0, FFrameYPos = 0, FFrameXSize = 0, FFrameYSize = 0;
    bool FFrameTransp = false;
    uint16_t FFrameDisposal = 0;
    uint16_t FAnimMaxX = 0, FAnimMaxY = 0;
    int32_t FNextCount = -1;
    int32_t FTimerCount = -1;
};

// Pictures named by a source (file or resource address), owned by the cache.
class THTMLPictureCache : public TObject
{
public:
    ~THTMLPictureCache() override { ClearPictures(); }
    THTMLPicture *AddPicture();
    // The first picture whose ID equals ID exactly, or nil.
    THTMLPicture *FindPicture(const QString &ID) const;
    int32_t Count() const { return int32_t(FItems.size()); }
    THTMLPicture *GetPicture(int32_t Index) const;
    void SetPicture(int32_t Index, THTMLPicture *Value);
    THTMLPicture *Items(int32_t Index) const { return GetPicture(Index); }
    void ClearPictures();
    bool Animate();

private:
    std::vector<std::unique_ptr<THTMLPicture>> FItems;
};

class TPictureItem : public TCollectionItem
{
public:
    explicit TPictureItem(TCollection *Collection);
    void Assign(TPersistent *Source) override;
    THTMLPicture *Picture() const { return FPicture.get(); }
    void SetPicture(THTMLPicture *v) { FPicture->Assign(v); }
    const QString &Name() const { return FName; }
    void SetName(const QString &v) { FName = v; }
    int32_t Tag() const { return FTag; }
    void SetTag(int32_t v) { FTag = v; }

private:
    std::unique_ptr<THTMLPicture> FPicture = std::make_unique<THTMLPicture>();
    int32_t FTag = 0;
    QString FName;
};

class TPictureCollection : public TCollection
{
public:
    explicit TPictureCollection(TComponent *AOwner);
    TPictureItem *Add() { return static_cast<TPictureItem *>(TCollection::Add()); }
    TPictureItem *Insert(int32_t Index) { return static_cast<TPictureItem *>(TCollection::Insert(Index)); }
    TPictureItem *Items(int32_t Index) const { return static_cast<TPictureItem *>(TCollection::Items(Index)); }
    TPersistent *GetOwner() const override { return FOwner; }
    bool Animate();

private:
    TComponent *FOwner;
};

class TPictureContainer : public TComponent
{
public:
    explicit TPictureContainer(TComponent *AOwner = nullptr);
    ~TPictureContainer() override;
    TPictureCollection *Items() const { return FItems.get(); }
    void SetItems(TPictureCollection *v) { FItems->Assign(v); }
    // The picture of the first item named Name (ASCII case ignored), or nil.
    virtual THTMLPicture *FindPicture(const QString &Name);
    QString Version() const;
    void SetVersion(const QString &) {}

private:
    std::unique_ptr<TPictureCollection> FItems;
};
