#include "framework/controls/Controls.h"
#include "framework/os/DragDrop.h"
#include "tests/common/TestSupport.h"
#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

TClipboardFormat rtfFormat() { return RegisterClipboardFormat("Rich Text Format"); }
TClipboardFormat colFormat() { return RegisterClipboardFormat("Grid Column"); }

QByteArray int32Bytes(int32_t v) { return QByteArray(reinterpret_cast<const char *>(&v), 4); }

struct RecordingSource : IDropSource
{
    HRESULT QueryContinueDrag(bool EscapePressed, uint32_t KeyState) override
    {
        escapes.push_back(EscapePressed);
        keys = KeyState;
        return answer ? answer : EscapePressed ? DRAGDROP_S_CANCEL : DRAGDROP_S_DROP;
    }
    HRESULT GiveFeedback(uint32_t Effect) override
    {
        feedback.push_back(Effect);
        return DRAGDROP_S_USEDEFAULTCURSORS;
    }
    HRESULT answer = 0;
    std::vector<bool> escapes;
    std::vector<uint32_t> feedback;
    uint32_t keys = 0xFFFF;
};

struct RecordingTarget : IDropTarget
{
    HRESULT DragEnter(TDataObject *DataObj, uint32_t KeyState, TPoint Pt, uint32_t &Effect) override
    {
        log << QString("enter %1 %2 %3,%4 %5").arg(DataObj->Text()).arg(KeyState).arg(Pt.X).arg(Pt.Y).arg(Effect);
        Effect = take;
        return S_OK;
    }
    HRESULT DragOver(uint32_t KeyState, TPoint Pt, uint32_t &Effect) override
    {
        log << QString("over %1 %2,%3 %4").arg(KeyState).arg(Pt.X).arg(Pt.Y).arg(Effect);
        Effect = take;
        return S_OK;
    }
    HRESULT DragLeave() override
    {
        log << "leave";
        return S_OK;
    }
    HRESULT Drop(TDataObject *DataObj, uint32_t KeyState, TPoint Pt, uint32_t &Effect) override
    {
        log << QString("drop %1 %2").arg(DataObj->Files().join(';')).arg(QString::fromLatin1(DataObj->GetData(colFormat()).toHex()));
        Effect = take;
        return S_OK;
    }
    uint32_t take = DROPEFFECT_COPY;
    QStringList log;
};

} // namespace

TEST(DataObject, FormatsMapToMimeTypesBothWays)
{
    TDataObject d;
    EXPECT_TRUE(d.Formats().empty());
    d.SetText(QString::fromUtf8("caf\u00e9"));
    d.SetData(rtfFormat(), "{\\rtf1 x}");
    d.SetData(colFormat(), int32Bytes(3));
    EXPECT_EQ(d.Formats(), (std::vector<TClipboardFormat>{CF_UNICODETEXT, CF_TEXT, rtfFormat(), colFormat()}));
    EXPECT_EQ(d.GetData(CF_TEXT), QByteArray("caf\xE9"));
    EXPECT_EQ(d.GetData(CF_UNICODETEXT), QByteArray("c\0a\0f\0\xE9\0", 8));
    EXPECT_EQ(d.GetData(colFormat()), int32Bytes(3));
    EXPECT_TRUE(d.GetData(CF_HDROP).isEmpty());
    EXPECT_THROW(d.SetData(CF_HDROP, "x"), EClipboardException);
    EXPECT_THROW(d.SetData(0x7777, "x"), EClipboardException);
    d.SetData(CF_TEXT, "\x80 5");
    EXPECT_EQ(d.Text(), QString::fromUtf8("\u20ac 5"));

    // Another program's data: a web link, a local file and a type no format stands for.
    QMimeData foreign;
    foreign.setUrls({QUrl("https://example.org/a"), QUrl::fromLocalFile("/tmp/m.csv")});
    foreign.setData("image/png", "png");
    TDataObject in(&foreign);
    EXPECT_EQ(in.Formats(), (std::vector<TClipboardFormat>{CF_UNICODETEXT, CF_TEXT, CF_HDROP,
                                                            RegisterClipboardFormat("UniformResourceLocator")}));
    EXPECT_EQ(in.Files(), QStringList{"/tmp/m.csv"});
    EXPECT_EQ(in.Text(), "https://example.org/a");  // the link reads as text, the file does not

    QMimeData filesOnly;
    filesOnly.setUrls({QUrl::fromLocalFile("/tmp/m.csv")});
    TDataObject files(&filesOnly);
    EXPECT_EQ(files.Formats(), std::vector<TClipboardFormat>{CF_HDROP});
    EXPECT_TRUE(files.GetData(CF_TEXT).isEmpty());
}

TEST(DragSource, ScriptRecordsTheDataAndEndsWithThePresetEffect)
{
    TDataObject d;
    d.SetText("a\tb");
    d.SetData(colFormat(), int32Bytes(2));
    RecordingSource src;
    uint32_t effect = 99;
    {
        // Without a script the offscreen platform cancels at once instead of waiting.
        EXPECT_EQ(DoDragDrop(d, &src, DROPEFFECT_COPY, effect), DRAGDROP_S_CANCEL);
        EXPECT_EQ(effect, DROPEFFECT_NONE);
        EXPECT_TRUE(src.feedback.empty());
    }
    TDragScript script;
    script.SetKeyState(MK_LBUTTON | MK_CONTROL);
    script.DropNext(DROPEFFECT_MOVE).CancelNext().DropNext(DROPEFFECT_MOVE).DropNext(DROPEFFECT_NONE).DropNext(DROPEFFECT_COPY);

    struct Case
    {
        uint32_t ok;
        HRESULT result;
        uint32_t effect;
        bool escape;
    };
    const Case cases[] = {
        {DROPEFFECT_COPY | DROPEFFECT_MOVE, DRAGDROP_S_DROP, DROPEFFECT_MOVE, false},
        {DROPEFFECT_COPY | DROPEFFECT_MOVE, DRAGDROP_S_CANCEL, DROPEFFECT_NONE, true},  // Esc
        {DROPEFFECT_COPY, DRAGDROP_S_CANCEL, DROPEFFECT_NONE, false},  // move not allowed
        {DROPEFFECT_COPY, DRAGDROP_S_CANCEL, DROPEFFECT_NONE, false},  // target refuses
        {DROPEFFECT_COPY, DRAGDROP_S_DROP, DROPEFFECT_COPY, false},
        {DROPEFFECT_COPY, DRAGDROP_S_CANCEL, DROPEFFECT_NONE, false},  // beyond the script
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        effect = 99;
        EXPECT_EQ(DoDragDrop(d, &src, cases[i].ok, effect), cases[i].result) << i;
        EXPECT_EQ(effect, cases[i].effect) << i;
        EXPECT_EQ(src.escapes.back(), cases[i].escape) << i;
    }
    EXPECT_EQ(src.feedback, (std::vector<uint32_t>{DROPEFFECT_MOVE, 0, 0, 0, DROPEFFECT_COPY, 0}));
    EXPECT_EQ(src.keys, uint32_t(MK_CONTROL));  // the button is up when the drag ends

    ASSERT_EQ(script.Records().size(), std::size(cases));
    const TDragRecord &first = *script.Records().begin();
    EXPECT_EQ(first.Data->Text(), "a\tb");
    EXPECT_EQ(first.Data->GetData(colFormat()), int32Bytes(2));
    EXPECT_EQ(first.OKEffects, DROPEFFECT_COPY | DROPEFFECT_MOVE);
    EXPECT_EQ(first.Effect, DROPEFFECT_MOVE);

    // A source that cancels when asked ends the drag although the target would take it.
    TDragScript inner;
    inner.DropNext(DROPEFFECT_COPY);
    src.answer = DRAGDROP_S_CANCEL;
    EXPECT_EQ(DoDragDrop(d, &src, DROPEFFECT_COPY, effect), DRAGDROP_S_CANCEL);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
    EXPECT_EQ(inner.Records().size(), 1u);
    EXPECT_EQ(script.Records().size(), std::size(cases));
}

TEST(DropTarget, WidgetDragEventsReachTheTarget)
{
    QWidget w;
    w.resize(100, 100);
    auto target = std::make_shared<RecordingTarget>();
    ASSERT_EQ(RegisterDragDrop(&w, target), S_OK);
    EXPECT_EQ(RegisterDragDrop(&w, std::make_shared<RecordingTarget>()), DRAGDROP_E_ALREADYREGISTERED);
    EXPECT_TRUE(w.acceptDrops());

    QMimeData data;
    data.setText("cells");
    data.setUrls({QUrl::fromLocalFile("/tmp/a.xls")});
    data.setData(ClipboardFormatMimeType(colFormat()), int32Bytes(1));
    const Qt::DropActions both = Qt::CopyAction | Qt::MoveAction;
    const QPoint g = w.mapToGlobal(QPoint(10, 20));

    QDragEnterEvent enter(QPoint(10, 20), both, &data, Qt::LeftButton, Qt::ControlModifier);
    QCoreApplication::sendEvent(&w, &enter);
    EXPECT_TRUE(enter.isAccepted());
    EXPECT_EQ(enter.dropAction(), Qt::CopyAction);

    target->take = DROPEFFECT_NONE;  // refused here, but moves keep coming
    QDragMoveEvent move(QPoint(30, 40), both, &data, Qt::LeftButton, Qt::ShiftModifier);
    QCoreApplication::sendEvent(&w, &move);
    EXPECT_FALSE(move.isAccepted());

    target->take = DROPEFFECT_MOVE | DROPEFFECT_LINK;  // link is not on offer
    QDropEvent drop(QPointF(30, 40), both, &data, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(drop.dropAction(), Qt::MoveAction);

    // Qt only delivers a leave inside a real drag, so it goes to the widget's filter directly.
    QDragLeaveEvent leave;
    QObject *filter = w.findChild<QObject *>("tarvix-drop-target");
    ASSERT_TRUE(filter);
    EXPECT_TRUE(filter->eventFilter(&w, &leave));
    const QPoint g2 = w.mapToGlobal(QPoint(30, 40));
    EXPECT_EQ(target->log, QStringList({QString("enter cells %1 %2,%3 3").arg(MK_LBUTTON | MK_CONTROL).arg(g.x()).arg(g.y()),
                                        QString("over %1 %2,%3 3").arg(MK_LBUTTON | MK_SHIFT).arg(g2.x()).arg(g2.y()),
                                        "drop /tmp/a.xls 01000000", "leave"}));

    EXPECT_EQ(RevokeDragDrop(&w), S_OK);
    EXPECT_FALSE(w.acceptDrops());
    EXPECT_EQ(RevokeDragDrop(&w), DRAGDROP_E_NOTREGISTERED);
    QCoreApplication::sendEvent(&w, &enter);
    EXPECT_EQ(target->log.size(), 4);
    EXPECT_EQ(target.use_count(), 1);
}

TEST(DropTarget, RegistersByHandleAndGoesWithTheWindow)
{
    auto target = std::make_shared<RecordingTarget>();
    {
        TCustomControl ctl(nullptr);
        ASSERT_EQ(RegisterDragDrop(ctl.Handle(), target), S_OK);
        EXPECT_EQ(RegisterDragDrop(ctl.Handle(), target), DRAGDROP_E_ALREADYREGISTERED);
        EXPECT_EQ(target.use_count(), 2);
        QMimeData data;
        data.setText("x");
        QDragEnterEvent enter(QPoint(1, 1), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(ctl.ClientWidget(), &enter);
        EXPECT_EQ(target->log.size(), 1);
    }
    EXPECT_EQ(target.use_count(), 1);
    EXPECT_EQ(RevokeDragDrop(HWND(0x7FFFFFFF)), DRAGDROP_E_NOTREGISTERED);
    EXPECT_EQ(RegisterDragDrop(HWND(0x7FFFFFFF), target), E_INVALIDARG);
}
