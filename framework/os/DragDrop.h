#pragma once
// Drag and drop between windows and with other programs: data objects over MIME data, drags
// started through a seam that tests script, and drop targets fed from a widget's drag events.
#include "framework/controls/Messages.h"
#include "framework/os/Clipbrd.h"
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class QMimeData;
class QWidget;

using HRESULT = int32_t;
constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT DRAGDROP_S_DROP = 0x00040100;
constexpr HRESULT DRAGDROP_S_CANCEL = 0x00040101;
constexpr HRESULT DRAGDROP_S_USEDEFAULTCURSORS = 0x00040102;
constexpr HRESULT DRAGDROP_E_NOTREGISTERED = HRESULT(0x80040100u);
constexpr HRESULT DRAGDROP_E_ALREADYREGISTERED = HRESULT(0x80040101u);
constexpr HRESULT E_INVALIDARG = HRESULT(0x80070057u);

constexpr uint32_t DROPEFFECT_NONE = 0;
constexpr uint32_t DROPEFFECT_COPY = 1;
constexpr uint32_t DROPEFFECT_MOVE = 2;
constexpr uint32_t DROPEFFECT_LINK = 4;

// Key state of drag calls: MK_LBUTTON, MK_RBUTTON, MK_SHIFT, MK_CONTROL, MK_MBUTTON and MK_ALT.
constexpr uint32_t MK_ALT = 0x0020;

// The data of a drag. Formats map to MIME types as on the clipboard: CF_UNICODETEXT and CF_TEXT
// to plain text, registered names to their types, CF_HDROP to local file URLs and
// "UniformResourceLocator" to any other URL.
class TDataObject
{
public:
    // An empty object to fill.
    TDataObject();
    // A copy of another program's (or window's) data.
    explicit TDataObject(const QMimeData *Data);
    ~TDataObject();
    TDataObject(const TDataObject &) = delete;
    TDataObject &operator=(const TDataObject &) = delete;

    const QMimeData *MimeData() const { return data_.get(); }
    // A copy of the data for a drag, which takes it over.
    QMimeData *CloneMimeData() const;

    // The formats on offer, text first; MIME types of other programs that no format stands for
    // are left out.
    std::vector<TClipboardFormat> Formats() const;
    bool HasFormat(TClipboardFormat Format) const;
    // CF_TEXT gives Windows-1252 bytes and CF_UNICODETEXT UTF-16 (neither with a terminator);
    // other formats give their bytes. Empty when the format is missing.
    QByteArray GetData(TClipboardFormat Format) const;
    // CF_TEXT and CF_UNICODETEXT take the bytes as GetData gives them; CF_HDROP is set
    // through SetFiles.
    void SetData(TClipboardFormat Format, const QByteArray &Data);

    QString Text() const;
    void SetText(const QString &Value);
    // Local files, with native separators.
    QStringList Files() const;
    void SetFiles(const QStringList &Files);

private:
    std::unique_ptr<QMimeData> data_;
};

// The source side of a drag: asked whether to go on and told the effect the target shows.
class IDropSource
{
public:
    virtual ~IDropSource() = default;
    // S_OK goes on, DRAGDROP_S_DROP drops, DRAGDROP_S_CANCEL cancels.
    virtual HRESULT QueryContinueDrag(bool EscapePressed, uint32_t KeyState) = 0;
    virtual HRESULT GiveFeedback(uint32_t Effect) = 0;
};

// Runs a drag of Data until it is dropped or cancelled. Returns DRAGDROP_S_DROP with the
// effect the target chose (one of OKEffects), or DRAGDROP_S_CANCEL with DROPEFFECT_NONE when
// the drag was cancelled or nothing accepted it. Under a TDragScript nothing waits for the
// mouse; on the offscreen platform without one the drag is cancelled at once.
HRESULT DoDragDrop(const TDataObject &Data, IDropSource *Source, uint32_t OKEffects, uint32_t &Effect);

struct TDragRecord
{
    std::unique_ptr<TDataObject> Data;  // a copy of what was dragged
    uint32_t OKEffects = 0;
    uint32_t Effect = DROPEFFECT_NONE;  // the effect the drag ended with
    HRESULT Result = DRAGDROP_S_CANCEL;
};

// Scripts DoDragDrop for a test while it lives (scripts nest; the innermost one answers).
// Each drag records its data, gives the source one feedback with the preset effect and asks
// it once whether to go on (with Esc for a cancel), then ends as the source answered.
class TDragScript
{
public:
    TDragScript();
    ~TDragScript();
    TDragScript(const TDragScript &) = delete;
    TDragScript &operator=(const TDragScript &) = delete;

    // The target of the next drag reports this effect (DROPEFFECT_NONE: it refuses the data).
    // Drags beyond the preset ones are refused.
    TDragScript &DropNext(uint32_t Effect);
    // The next drag is cancelled with Esc.
    TDragScript &CancelNext();
    // Key state reported to the source at the end of the drags (the left button is up).
    void SetKeyState(uint32_t KeyState) { keyState_ = KeyState; }

    const std::vector<TDragRecord> &Records() const { return records_; }

private:
    friend HRESULT DoDragDrop(const TDataObject &, IDropSource *, uint32_t, uint32_t &);
    struct Answer
    {
        bool Cancel;
        uint32_t Effect;
    };
    std::vector<Answer> answers_;
    size_t next_ = 0;
    uint32_t keyState_ = 0;
    std::vector<TDragRecord> records_;
    TDragScript *outer_;
};

// The target side: called while a drag passes over the registered window. Points are in
// screen coordinates. Effect arrives as the effects the source allows and leaves as the one
// the target takes (DROPEFFECT_NONE refuses).
class IDropTarget
{
public:
    virtual ~IDropTarget() = default;
    virtual HRESULT DragEnter(TDataObject *DataObj, uint32_t KeyState, TPoint Pt, uint32_t &Effect) = 0;
    virtual HRESULT DragOver(uint32_t KeyState, TPoint Pt, uint32_t &Effect) = 0;
    virtual HRESULT DragLeave() = 0;
    virtual HRESULT Drop(TDataObject *DataObj, uint32_t KeyState, TPoint Pt, uint32_t &Effect) = 0;
};

// Feeds the drag events of a window (a control's client widget) to Target, which the
// registration keeps alive until it is revoked or the window goes. A window takes one target:
// a second registration gives DRAGDROP_E_ALREADYREGISTERED and keeps the first.
HRESULT RegisterDragDrop(HWND Wnd, std::shared_ptr<IDropTarget> Target);
HRESULT RegisterDragDrop(QWidget *Widget, std::shared_ptr<IDropTarget> Target);
HRESULT RevokeDragDrop(HWND Wnd);
HRESULT RevokeDragDrop(QWidget *Widget);
