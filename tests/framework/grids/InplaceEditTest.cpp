// The grid's in-place editor in its single-line and multi-line modes.
#include "framework/grids/Grids.h"
#include "framework/controls/Forms.h"
#include "tests/common/TestSupport.h"
#include "tests/common/InputEvents.h"
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

namespace {

// Counts the clipboard messages that reach the editor.
class TProbeEdit : public TInplaceEdit
{
public:
    using TInplaceEdit::TInplaceEdit;
    int pastes = 0, changes = 0;
    void WndProc(TMessage &Message) override
    {
        if (Message.Msg == WM_PASTE)
            ++pastes;
        TInplaceEdit::WndProc(Message);
    }

protected:
    void Change() override { ++changes; }
};

// A grid whose editor may be multi-line.
class TLinesGrid : public TStringGrid
{
public:
    using TStringGrid::TStringGrid;
    bool multiLine = true;

protected:
    TInplaceEdit *CreateEditor() override
    {
        auto *ed = new TProbeEdit(this);
        ed->SetMultiLine(multiLine);
        return ed;
    }
};

struct EditFixture : ::testing::TestWithParam<bool>
{
    TForm *form = new TForm(nullptr);
    TProbeEdit *ed = new TProbeEdit(form);
    void SetUp() override
    {
        form->SetBounds(0, 0, 400, 300);
        ed->SetParent(form);
        ed->SetBounds(10, 10, 200, 60);
        ed->SetVisible(true);
        ed->SetMultiLine(GetParam());
        form->Show();
        QApplication::processEvents();
    }
    void TearDown() override { delete form; }
    QWidget *w() const { return ed->Widget(); }
};

} // namespace

INSTANTIATE_TEST_SUITE_P(Modes, EditFixture, ::testing::Values(false, true),
                         [](const auto &info) { return info.param ? "MultiLine" : "SingleLine"; });

TEST_P(EditFixture, SelectionAndModifiedBehaveAlikeInBothModes)
{
    ed->SetText("hello world");
    EXPECT_FALSE(ed->Modified());
    EXPECT_EQ(ed->Text(), "hello world");
    ed->SetSelStart(6);
    ed->SetSelLength(5);
    EXPECT_EQ(ed->SelStart(), 6);
    EXPECT_EQ(ed->SelLength(), 5);
    EXPECT_EQ(ed->SelText(), "world");
    typeText(w(), "there");
    EXPECT_EQ(ed->Text(), "hello there");
    EXPECT_TRUE(ed->Modified());
    EXPECT_EQ(ed->SelStart(), 11);
    EXPECT_EQ(ed->SelLength(), 0);
    ed->SelectAll();
    EXPECT_EQ(ed->SelLength(), 11);

    // The limit holds against typing and against inserted text.
    ed->SetText("");
    ed->SetMaxLength(4);
    typeText(w(), "abcdef");
    EXPECT_EQ(ed->Text(), "abcd");
    ed->SetSelStart(1);
    ed->SetSelLength(2);
    ed->SetSelText("XYZW");
    EXPECT_EQ(ed->Text(), "aXYd");

    ed->SetReadOnly(true);
    typeText(w(), "q");
    ed->SetSelText("q");
    EXPECT_EQ(ed->Text(), "aXYd");
}

TEST_P(EditFixture, ClipboardKeysGoThroughThePasteMessage)
{
    QApplication::clipboard()->setText("one\r\ntwo");
    ed->SetText("<>");
    ed->SetSelStart(1);
    sendKey(w(), Qt::Key_V, Qt::ControlModifier);
    sendKey(w(), Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(ed->pastes, 2);
    if (GetParam())
        EXPECT_EQ(ed->Text(), "<one\r\ntwoone\r\ntwo>");
    else
        EXPECT_EQ(ed->Text(), "<oneone>");  // one line takes the first line only

    // Copy and cut carry the selection with its line breaks.
    const QString text = GetParam() ? "ab\r\ncd" : "abcd";
    ed->SetText(text);
    ed->SelectAll();
    sendKey(w(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), text);
    EXPECT_EQ(ed->Text(), "");

    // A paste is cut to the room the limit leaves.
    ed->SetMaxLength(3);
    QApplication::clipboard()->setText("12345");
    ed->PasteFromClipboard();
    EXPECT_EQ(ed->Text(), "123");
}

TEST_P(EditFixture, PasswordsAreNeverCopied)
{
    ed->SetPasswordMode(true);
    EXPECT_FALSE(ed->IsMultiLine());
    ed->SetText("secret");
    QApplication::clipboard()->setText("before");
    ed->SelectAll();
    ed->CopyToClipboard();
    ed->CutToClipboard();
    EXPECT_EQ(QApplication::clipboard()->text(), "before");
    EXPECT_EQ(ed->Text(), "secret");
}

TEST(InplaceEditLines, LineBreaksAreCrLfAndCountAsTwo)
{
    TForm form(nullptr);
    auto *ed = new TProbeEdit(&form);
    ed->SetParent(&form);
    ed->SetMultiLine(true);
    ed->SetText("ab\ncd\ref\r\ngh");
    EXPECT_EQ(ed->Text(), "ab\r\ncd\r\nef\r\ngh");
    ed->SetSelStart(4);
    ed->SetSelLength(2);
    EXPECT_EQ(ed->SelText(), "cd");
    ed->SetSelStart(3);  // between CR and LF: before the break
    EXPECT_EQ(ed->SelStart(), 2);
    ed->SetSelStart(ed->Text().size());
    EXPECT_EQ(ed->SelStart(), ed->Text().size());
    EXPECT_EQ(ed->LineCount(), 4);
    EXPECT_EQ(ed->LineFromChar(0), 0);
    EXPECT_EQ(ed->LineFromChar(4), 1);
    EXPECT_EQ(ed->LineFromChar(ed->Text().size()), 3);

    // A mask or a password mode edits one line; clearing them brings the lines back.
    ed->SetSelStart(4);
    ed->SetSelLength(2);
    ed->SetModified(true);
    ed->SetPasswordMode(true);
    EXPECT_NE(qobject_cast<QLineEdit *>(ed->Widget()), nullptr);
    ed->SetPasswordMode(false);
    EXPECT_NE(qobject_cast<QPlainTextEdit *>(ed->Widget()), nullptr);
    EXPECT_EQ(ed->Text(), "ab\r\ncd\r\nef\r\ngh");
    EXPECT_EQ(ed->SelText(), "cd");
    EXPECT_TRUE(ed->Modified());
    ed->SetEditMask("999;0;_");
    EXPECT_FALSE(ed->IsMultiLine());
    ed->SetEditMask("");
    EXPECT_TRUE(ed->IsMultiLine());
}

TEST(InplaceEditLines, WordWrapBreaksLongLinesAtTheWidth)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 400, 300);
    auto *ed = new TProbeEdit(&form);
    ed->SetParent(&form);
    ed->SetBounds(0, 0, 60, 80);
    ed->SetVisible(true);
    ed->SetMultiLine(true);
    form.Show();
    const QString text = "aaaa bbbb cccc dddd eeee ffff gggg";
    ed->SetText(text);
    QApplication::processEvents();
    EXPECT_EQ(ed->LineCount(), 1);
    ed->SetWordWrap(true);
    QApplication::processEvents();
    EXPECT_GT(ed->LineCount(), 1);
    EXPECT_EQ(ed->LineFromChar(0), 0);
    EXPECT_EQ(ed->LineFromChar(text.size()), ed->LineCount() - 1);
    EXPECT_EQ(ed->Text(), text);  // wrapping adds no breaks to the text
}

TEST(InplaceEditLines, EnterEndsTheEditAndCtrlEnterBreaksTheLine)
{
    for (bool multi : {true, false}) {
        SCOPED_TRACE(multi ? "multi-line" : "single-line");
        TForm form(nullptr);
        form.SetBounds(0, 0, 500, 400);
        auto *grid = new TLinesGrid(&form);
        grid->multiLine = multi;
        grid->SetParent(&form);
        grid->SetBounds(0, 0, 400, 300);
        grid->SetOptions(grid->Options() + goEditing);
        form.Show();
        QApplication::processEvents();

        typeText(grid->Widget(), "a");
        ASSERT_TRUE(grid->EditorMode());
        auto *ed = static_cast<TProbeEdit *>(grid->InplaceEditor());
        EXPECT_EQ(ed->IsMultiLine(), multi);
        sendKey(ed->Widget(), Qt::Key_Return, Qt::ControlModifier);
        typeText(ed->Widget(), "b");
        EXPECT_TRUE(grid->EditorMode());
        sendKey(ed->Widget(), Qt::Key_Return);
        EXPECT_FALSE(grid->EditorMode());
        EXPECT_EQ(grid->Cells(1, 1), multi ? "a\r\nb" : "ab");

        // The lines come back whole, and a line break needs room for two characters.
        grid->ShowEditor();
        EXPECT_EQ(ed->Text(), grid->Cells(1, 1));
        ed->SetMaxLength(multi ? 5 : 3);
        ed->SetSelStart(ed->Text().size());
        sendKey(ed->Widget(), Qt::Key_Return, Qt::ControlModifier);
        typeText(ed->Widget(), "cd");
        EXPECT_EQ(ed->Text(), multi ? "a\r\nbc" : "abc");
        EXPECT_GT(ed->changes, 0);
        grid->HideEditor();
    }
}
