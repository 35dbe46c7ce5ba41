// Actions and their links; popup, shaped and layered windows.
#include "framework/controls/ActnList.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Layered.h"
#include "tests/common/TestSupport.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace
{
struct TRecordingLink : TActionLink
{
    explicit TRecordingLink(TObject *client) : TActionLink(client) {}
    QStringList log;
    void SetCaption(const QString &v) override { log << "caption " + v; }
    void SetChecked(bool v) override { log << QStringLiteral("checked %1").arg(v); }
    void SetGroupIndex(int v) override { log << QStringLiteral("group %1").arg(v); }
    void SetEnabled(bool v) override { log << QStringLiteral("enabled %1").arg(v); }
};
} // namespace

TEST(Actions, LinksFollowTheirAction)
{
    TComponent owner(nullptr);
    auto *a = new TAction(&owner);
    auto *b = new TAction(&owner);
    a->SetGroupIndex(1);
    b->SetGroupIndex(1);
    TRecordingLink la(nullptr), lb(nullptr);
    la.SetAction(a);
    lb.SetAction(b);
    a->SetCaption(QStringLiteral("Find"));
    a->SetCaption(QStringLiteral("Find")); // unchanged: no call
    a->SetEnabled(false);
    b->SetChecked(true);
    a->SetChecked(true); // checks a, unchecks b of the same group
    EXPECT_FALSE(b->Checked());
    EXPECT_EQ(la.log, QStringList({"caption Find", "enabled 0", "checked 1"}));
    EXPECT_EQ(lb.log, QStringList({"checked 1", "checked 0"}));
    int runs = 0;
    a->OnExecute = [&](TObject *) { ++runs; };
    EXPECT_TRUE(la.Execute());
    EXPECT_FALSE(lb.Execute());
    EXPECT_EQ(runs, 1);
    delete a;
    EXPECT_EQ(la.Action(), nullptr);
    EXPECT_FALSE(la.Execute());
}

TEST(LayeredWindows, OpacityShapeAndFace)
{
    TForm form(nullptr);
    auto *panel = new TPanel(&form);
    panel->SetParent(&form);
    EXPECT_FALSE(SetLayeredWindowAttributes(987654, 0, 128, LWA_ALPHA));
    MakePopupWindow(panel, WS_POPUP | WS_DISABLED, WS_EX_TOPMOST);
    EXPECT_TRUE(panel->Widget()->isWindow());
    EXPECT_TRUE(panel->Widget()->testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_TRUE(SetLayeredWindowAttributes(panel->Handle(), 0, 128, LWA_ALPHA));
    EXPECT_NEAR(panel->Widget()->windowOpacity(), 128 / 255.0, 0.01);

    EXPECT_TRUE(SetWindowRgn(panel->Handle(), {{0, 0}, {10, 0}, {0, 10}}, true));
    EXPECT_TRUE(panel->Widget()->mask().contains(QPoint(2, 2)));
    EXPECT_FALSE(panel->Widget()->mask().contains(QPoint(9, 9)));
    EXPECT_TRUE(SetWindowRgn(panel->Handle(), {}, true));
    EXPECT_TRUE(panel->Widget()->mask().isEmpty());

    TBitmap face(30, 12);
    face.SetPixelFormat(pf32bit);
    const TPoint at(40, 50);
    EXPECT_TRUE(UpdateLayeredWindow(panel->Handle(), &at, &face, 230));
    EXPECT_EQ(panel->Width(), 30);
    EXPECT_EQ(panel->Height(), 12);
    EXPECT_TRUE(panel->Widget()->testAttribute(Qt::WA_TranslucentBackground));
    TBitmap empty;
    EXPECT_FALSE(UpdateLayeredWindow(panel->Handle(), nullptr, &empty, 255));
}
