// SPDX-License-Identifier: GPL-3.0-or-later
// The chart's item store: growth, the stamped attributes of new items, clearing, the painting
// filter, and the sharing of one store between charts (including destruction in any order,
// which the sanitizer build checks for dangling references).

#include "chart_probe.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

const QString msgSelf = QStringLiteral("RChart: Cannot share data with myself");
const QString msgForeign =
    QStringLiteral("RChart: Cannot use foreign data. Other RCharts are using my own data.");
const QString msgMax = QStringLiteral("RChart: Max. number of data shares exceeded");

// Count, capacity and the array itself are the same in both charts.
void expectSameStore(const TCustomRChart &a, const TCustomRChart &b)
{
    EXPECT_EQ(a.Count(), b.Count());
    EXPECT_EQ(a.Capacity(), b.Capacity());
    EXPECT_EQ(a.Items().data(), b.Items().data());
}

} // namespace

TEST(RChartStore, NewChartHasEmptyStoreAndDefaultAttributes)
{
    TRChart chart;
    EXPECT_EQ(chart.Count(), 0);
    EXPECT_EQ(chart.Capacity(), 0);
    EXPECT_TRUE(chart.Items().empty());
    EXPECT_EQ(chart.AllocSize(), 1000);
    EXPECT_EQ(chart.ActiveLayer(), 1);
    EXPECT_EQ(chart.DataColor(), 0);
    EXPECT_EQ(chart.FillColor(), 12632256);
    EXPECT_EQ(chart.PenStyle(), Gfx::psSolid);
    EXPECT_EQ(chart.LineWidth(), 1);
    EXPECT_EQ(chart.ClassDefault(), 0);
    EXPECT_TRUE(chart.AutoRedraw());
    EXPECT_EQ(chart.DataOwner(), nullptr);
    EXPECT_EQ(chart.DataUserCount(), 0);
    for (int c = 0; c < TCustomRChart::ClassCount; ++c)
        ASSERT_TRUE(chart.ClassVisible(c)) << c;
    for (int l = 1; l <= TCustomRChart::LayerCount; ++l)
        ASSERT_TRUE(chart.LayerVisible(l)) << l;
}

TEST(RChartStore, GrowsLinearlyByAllocSizeKeepingItems)
{
    TRChart chart;
    std::vector<int> capacities;
    chart.AddMoveTo(-1, -2);
    capacities.push_back(chart.Capacity());
    for (int i = 0; i < 2000; ++i) {
        const int before = chart.Capacity();
        chart.AddLineTo(i, 2.0 * i);
        if (chart.Capacity() != before)
            capacities.push_back(chart.Capacity());
    }
    EXPECT_EQ(capacities, (std::vector<int>{1000, 2000, 3000}));
    ASSERT_EQ(chart.Count(), 2001);
    const auto items = chart.Items();
    EXPECT_EQ(items[0].Kind, ikMoveTo);
    EXPECT_EQ(items[0].X, -1);
    EXPECT_EQ(items[0].Y, -2);
    for (int i = 0; i < 2000; ++i) {
        ASSERT_EQ(items[i + 1].Kind, ikLineTo) << i;
        ASSERT_EQ(items[i + 1].X, i) << i;
        ASSERT_EQ(items[i + 1].Y, 2.0 * i) << i;
    }

    TRChart single;
    single.SetAllocSize(1);
    for (int i = 1; i <= 5; ++i) {
        single.AddLineTo(i, i);
        EXPECT_EQ(single.Capacity(), i);
    }
    // A changed step applies from the next growth on.
    single.SetAllocSize(10);
    single.AddLineTo(6, 6);
    EXPECT_EQ(single.Capacity(), 15);
    EXPECT_EQ(single.Items()[4].X, 5);
}

TEST(RChartStore, SettersIgnoreOutOfRangeValues)
{
    TRChart chart;
    for (int bad : {0, -1, -1000, 1000001}) {
        chart.SetAllocSize(bad);
        EXPECT_EQ(chart.AllocSize(), 1000) << bad;
    }
    chart.SetAllocSize(1000000);
    EXPECT_EQ(chart.AllocSize(), 1000000);
    chart.SetAllocSize(1);
    EXPECT_EQ(chart.AllocSize(), 1);

    chart.SetClassDefault(7);
    chart.SetClassDefault(255);
    EXPECT_EQ(chart.ClassDefault(), 7);
    chart.AddLineTo(1, 1);
    EXPECT_EQ(chart.Items()[0].ClassNo, 7);
    chart.SetClassDefault(254);
    EXPECT_EQ(chart.ClassDefault(), 254);

    chart.SetActiveLayer(0);
    chart.SetActiveLayer(17);
    EXPECT_EQ(chart.ActiveLayer(), 1);
    chart.SetActiveLayer(16);
    EXPECT_EQ(chart.ActiveLayer(), 16);

    chart.SetLineWidth(300);
    EXPECT_EQ(chart.LineWidth(), 255);
}

TEST(RChartStore, AddsStampCurrentAttributesAndLeaveOtherFieldsZero)
{
    TRChart chart;
    chart.SetActiveLayer(3);
    chart.SetClassDefault(9);
    chart.SetDataColor(clRed);
    chart.SetFillColor(clYellow);
    chart.SetPenStyle(Gfx::psDot);
    chart.SetLineWidth(4);
    chart.AddMoveTo(1.5, 2.5);
    chart.AddLineTo(3.5, 4.5);
    // Later attribute changes do not touch stored items.
    chart.SetDataColor(clBlue);
    chart.SetActiveLayer(5);
    chart.AddLineTo(5, 6);

    const auto items = chart.Items();
    ASSERT_EQ(items.size(), 3u);
    const TChartItem &move = items[0];
    EXPECT_EQ(move.Kind, ikMoveTo);
    EXPECT_EQ(move.X, 1.5);
    EXPECT_EQ(move.Y, 2.5);
    EXPECT_EQ(move.Layer, 3);
    EXPECT_EQ(move.ClassNo, 9);
    EXPECT_EQ(move.Color, clRed);
    EXPECT_EQ(move.FillColor, 0); // a move takes no fill colour
    EXPECT_EQ(move.PenStyle, Gfx::psDot);
    EXPECT_EQ(move.LineWidth, 4);

    const TChartItem &line = items[1];
    EXPECT_EQ(line.Kind, ikLineTo);
    EXPECT_EQ(line.FillColor, clYellow);
    EXPECT_EQ(line.Color, clRed);
    EXPECT_EQ(line.Layer, 3);
    for (const TChartItem &item : {move, line}) {
        EXPECT_EQ(item.X2, 0);
        EXPECT_EQ(item.Y2, 0);
        EXPECT_EQ(item.FrameColor1, 0);
        EXPECT_EQ(item.FrameColor2, 0);
        EXPECT_EQ(item.Transparent, 0);
        EXPECT_EQ(item.FrameStyle, 0);
        EXPECT_EQ(item.Text.Length, 0);
        EXPECT_EQ(item.Size, 0);
        EXPECT_EQ(item.Depth, 0);
        EXPECT_EQ(item.Mode, 0);
    }
    EXPECT_EQ(items[2].Color, clBlue);
    EXPECT_EQ(items[2].Layer, 5);
}

TEST(RChartStore, FurtherAddsFillTheirKindsFields)
{
    TRChart chart;
    chart.SetFillColor(clAqua);
    chart.SetDataColor(clMaroon);
    chart.AddText(1, 2, QStringLiteral("m/z 69 and beyond the limit"), 12, Zel::taCenter);
    chart.AddTextOfs(3, 4, -5, 6, QStringLiteral("CF3"), 8, Zel::taRightJustify);
    chart.AddFramedRect(0, 0, 1, 1, Zel::fsLowered, clWhite, clGray);
    chart.AddBar3D(0, 0, 2, 3, 7, 45);
    chart.AddArrow(0, 0, 1, 1, 9, true);
    chart.AddBox(5, 5, 3, 4, true);
    chart.AddMark(1, 1, 6);
    chart.AddMoveRel(-2, 3);
    chart.AddEllipse(0, 0, 2, 1);

    const auto items = chart.Items();
    ASSERT_EQ(items.size(), 9u);
    EXPECT_EQ(items[0].Kind, ikText);
    EXPECT_EQ(items[0].Text.toString(), QStringLiteral("m/z 69 and beyond")); // 17 characters
    EXPECT_EQ(items[0].Size, 12);
    EXPECT_EQ(items[0].Mode, 2);
    EXPECT_EQ(items[0].Color, clMaroon);
    EXPECT_EQ(items[1].Kind, ikTextOfs);
    EXPECT_EQ(items[1].Text.toString(), QStringLiteral("CF3"));
    EXPECT_EQ(items[1].X2, -5);
    EXPECT_EQ(items[1].Y2, 6);
    EXPECT_EQ(items[1].Mode, 1);
    EXPECT_EQ(items[2].Kind, ikFramedRect);
    EXPECT_EQ(items[2].FrameStyle, Zel::fsLowered);
    EXPECT_EQ(items[2].FrameColor1, clWhite);
    EXPECT_EQ(items[2].FrameColor2, clGray);
    EXPECT_EQ(items[2].FillColor, clAqua);
    EXPECT_EQ(items[3].Kind, ikBar3D);
    EXPECT_EQ(items[3].Depth, 7);
    EXPECT_EQ(items[3].Size, 45);
    EXPECT_EQ(items[4].Kind, ikArrow);
    EXPECT_EQ(items[4].Size, 9);
    EXPECT_EQ(items[4].Transparent, 1);
    EXPECT_EQ(items[5].Kind, ikBox);
    EXPECT_EQ(items[5].X2, 3);
    EXPECT_EQ(items[5].Y2, 4);
    EXPECT_EQ(items[6].Kind, ikMark);
    EXPECT_EQ(items[6].Mode, 6);
    EXPECT_EQ(items[7].Kind, ikMoveRel);
    EXPECT_EQ(items[7].X, -2);
    EXPECT_EQ(items[8].Kind, ikEllipse);
    EXPECT_EQ(items[8].Transparent, 0);
    for (const TChartItem &item : items)
        EXPECT_EQ(item.Layer, 1);
}

TEST(RChartStore, ClearItemsReleasesStorageAndKeepsSettings)
{
    TRChart chart;
    chart.SetAllocSize(300);
    chart.SetActiveLayer(2);
    chart.SetClassVisible(4, false);
    for (int i = 0; i < 500; ++i)
        chart.AddLineTo(i, i);
    ASSERT_EQ(chart.Capacity(), 600);
    chart.ClearItems();
    EXPECT_EQ(chart.Count(), 0);
    EXPECT_EQ(chart.Capacity(), 0);
    EXPECT_EQ(chart.Items().data(), nullptr);
    EXPECT_EQ(chart.AllocSize(), 300);
    EXPECT_EQ(chart.ActiveLayer(), 2);
    EXPECT_FALSE(chart.ClassVisible(4));

    chart.AddMoveTo(7, 8);
    EXPECT_EQ(chart.Capacity(), 300);
    EXPECT_EQ(chart.Items()[0].X, 7);
    EXPECT_EQ(chart.Items()[0].Layer, 2);
}

TEST(RChartStore, PaintingFilterNeedsClassAndLayerVisible)
{
    TRChart chart;
    chart.SetClassDefault(3);
    chart.SetActiveLayer(2);
    chart.AddLineTo(1, 1);
    const TChartItem item = chart.Items()[0];
    EXPECT_TRUE(chart.isItemVisible(item));
    chart.SetClassVisible(3, false);
    EXPECT_FALSE(chart.isItemVisible(item));
    chart.SetClassVisible(3, true);
    chart.SetLayerVisible(2, false);
    EXPECT_FALSE(chart.isItemVisible(item));
    EXPECT_TRUE(chart.LayerVisible(1));
    chart.SetLayerVisible(2, true);
    EXPECT_TRUE(chart.isItemVisible(item));
    // Out-of-range indices neither crash nor count as visible.
    chart.SetLayerVisible(17, false);
    chart.SetClassVisible(256, false);
    EXPECT_FALSE(chart.LayerVisible(0));
    EXPECT_FALSE(chart.ClassVisible(-1));
}

// --- Sharing ------------------------------------------------------------------------------

TEST(RChartSharing, MisuseShowsMessageAndChangesNothing)
{
    MessageCapture messages;
    TRChart owner, user, other, third;
    owner.AddLineTo(1, 1);

    user.SetUseDataOf(&user);
    EXPECT_EQ(messages.texts, QStringList{msgSelf});
    EXPECT_EQ(user.DataOwner(), nullptr);

    user.SetUseDataOf(&owner);
    ASSERT_EQ(user.DataOwner(), &owner);
    messages.texts.clear();

    // The owner cannot in turn use foreign data while others use its own.
    owner.SetUseDataOf(&other);
    EXPECT_EQ(messages.texts, QStringList{msgForeign});
    EXPECT_EQ(owner.DataOwner(), nullptr);
    EXPECT_EQ(owner.DataUserCount(), 1);
    EXPECT_EQ(other.DataUserCount(), 0);

    // A user asking for itself is refused the same way, and keeps its owner.
    messages.texts.clear();
    user.SetUseDataOf(&user);
    EXPECT_EQ(messages.texts, QStringList{msgSelf});
    EXPECT_EQ(user.DataOwner(), &owner);

    // Re-assigning the present owner does nothing and says nothing.
    messages.texts.clear();
    user.SetUseDataOf(&owner);
    third.SetUseDataOf(nullptr);
    EXPECT_TRUE(messages.texts.isEmpty());
    EXPECT_EQ(owner.DataUserCount(), 1);
    EXPECT_TRUE(messages.otherKinds.isEmpty());
}

TEST(RChartSharing, FifthUserIsRefusedAndFourStayAttached)
{
    MessageCapture messages;
    TRChart owner;
    owner.AddLineTo(1, 2);
    TRChart users[5];
    for (int i = 0; i < 4; ++i)
        users[i].SetUseDataOf(&owner);
    ASSERT_TRUE(messages.texts.isEmpty());
    users[4].AddLineTo(9, 9);

    users[4].SetUseDataOf(&owner);
    EXPECT_EQ(messages.texts, QStringList{msgMax});
    EXPECT_EQ(users[4].DataOwner(), nullptr);
    EXPECT_EQ(users[4].Count(), 1);
    EXPECT_EQ(users[4].Items()[0].X, 9);
    ASSERT_EQ(owner.DataUserCount(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(owner.DataUsers(i), &users[i]);
        expectSameStore(owner, users[i]);
    }

    // Asking through one of the users leads to the same owner and the same refusal.
    messages.texts.clear();
    users[4].SetUseDataOf(&users[2]);
    EXPECT_EQ(messages.texts, QStringList{msgMax});
    EXPECT_EQ(users[4].DataOwner(), nullptr);
}

TEST(RChartSharing, AttachingThroughAUserAttachesToItsOwner)
{
    TRChart owner, first, second;
    owner.AddMoveTo(0, 0);
    owner.AddLineTo(1, 1);
    first.SetUseDataOf(&owner);
    second.SetUseDataOf(&first);
    EXPECT_EQ(second.DataOwner(), &owner);
    EXPECT_EQ(second.UseDataOf(), &owner);
    EXPECT_EQ(first.DataUserCount(), 0);
    ASSERT_EQ(owner.DataUserCount(), 2);
    EXPECT_EQ(owner.DataUsers(1), &second);
    expectSameStore(owner, second);

    // Asking for the owner through another of its users attaches again: removed, appended.
    first.SetUseDataOf(&second);
    EXPECT_EQ(first.DataOwner(), &owner);
    ASSERT_EQ(owner.DataUserCount(), 2);
    EXPECT_EQ(owner.DataUsers(0), &second);
    EXPECT_EQ(owner.DataUsers(1), &first);
}

TEST(RChartSharing, AttachingAgainToAFullGroupIsRefused)
{
    MessageCapture messages;
    TRChart owner, users[4];
    for (TRChart &user : users)
        user.SetUseDataOf(&owner);
    users[0].SetUseDataOf(&users[3]);
    EXPECT_EQ(messages.texts, QStringList{msgMax});
    EXPECT_EQ(owner.DataUsers(0), &users[0]);
}

TEST(RChartStore, TextItemsWithoutAlignmentTakeTheChartsTextAlignment)
{
    TRChart chart;
    for (Zel::TAlignment a : {Zel::taCenter, Zel::taRightJustify, Zel::taLeftJustify}) {
        chart.SetTextAlignment(a);
        chart.AddText(1, 1, QStringLiteral("t"), 8);
        chart.AddTextOfs(1, 1, 0, 0, QStringLiteral("t"), 8);
        chart.AddText(1, 1, QStringLiteral("t"), 8, Zel::taRightJustify);
        const int n = chart.Count();
        EXPECT_EQ(chart.Items()[n - 3].Mode, a);
        EXPECT_EQ(chart.Items()[n - 2].Mode, a);
        EXPECT_EQ(chart.Items()[n - 1].Mode, Zel::taRightJustify);
    }
}

TEST(RChartSharing, WritesThroughAnyChartReachTheWholeGroup)
{
    TRChart owner, a, b;
    owner.SetAllocSize(2);
    owner.AddMoveTo(0, 0);
    a.SetUseDataOf(&owner);
    b.SetUseDataOf(&owner);
    expectSameStore(owner, a);

    // Writing through a user, across several growths of the array.
    a.SetAllocSize(3);
    for (int i = 1; i <= 10; ++i)
        a.AddLineTo(i, -i);
    EXPECT_EQ(owner.Count(), 11);
    expectSameStore(owner, a);
    expectSameStore(owner, b);
    EXPECT_EQ(b.Items()[10].Y, -10);

    // And through the owner.
    owner.AddLineTo(42, 42);
    expectSameStore(owner, a);
    expectSameStore(owner, b);
    EXPECT_EQ(a.Items()[11].X, 42);

    // Clearing through a user empties every chart of the group.
    b.ClearItems();
    for (const TRChart *chart : {&owner, &a, &b}) {
        EXPECT_EQ(chart->Count(), 0);
        EXPECT_EQ(chart->Capacity(), 0);
    }
    owner.AddLineTo(5, 5);
    expectSameStore(owner, b);
}

TEST(RChartSharing, DetachingKeepsItemsAndSeparatesTheStores)
{
    TRChart owner, a, b, c;
    owner.AddMoveTo(1, 1);
    owner.AddLineTo(2, 2);
    a.SetUseDataOf(&owner);
    b.SetUseDataOf(&owner);
    c.SetUseDataOf(&owner);

    b.SetUseDataOf(nullptr);
    EXPECT_EQ(b.DataOwner(), nullptr);
    ASSERT_EQ(b.Count(), 2);
    EXPECT_EQ(b.Items()[1].X, 2);
    // The gap in the user list closes.
    ASSERT_EQ(owner.DataUserCount(), 2);
    EXPECT_EQ(owner.DataUsers(0), &a);
    EXPECT_EQ(owner.DataUsers(1), &c);
    EXPECT_EQ(owner.DataUsers(2), nullptr);

    // From now on the former user and the group write independently.
    b.AddLineTo(30, 30);
    owner.AddLineTo(40, 40);
    EXPECT_EQ(b.Count(), 3);
    EXPECT_EQ(b.Items()[2].X, 30);
    EXPECT_EQ(owner.Items()[2].X, 40);
    expectSameStore(owner, c);

    // Switching to another owner leaves the old owner's list.
    TRChart second;
    second.AddLineTo(-1, -1);
    a.SetUseDataOf(&second);
    EXPECT_EQ(owner.DataUserCount(), 1);
    EXPECT_EQ(owner.DataUsers(0), &c);
    ASSERT_EQ(second.DataUserCount(), 1);
    expectSameStore(second, a);
}

TEST(RChartSharing, PropertyAssignmentGoesThroughTheSameRules)
{
    MessageCapture messages;
    TRChart owner, user;
    owner.AddLineTo(1, 1);
    ASSERT_TRUE(user.setProperty("UseDataOf", QVariant::fromValue(&owner)));
    EXPECT_EQ(user.property("UseDataOf").value<TRChart *>(), &owner);
    EXPECT_EQ(user.Count(), 1);
    ASSERT_TRUE(owner.setProperty("UseDataOf", QVariant::fromValue(&owner)));
    EXPECT_EQ(messages.texts, QStringList{msgSelf});
    ASSERT_TRUE(user.setProperty("UseDataOf", QVariant::fromValue<TRChart *>(nullptr)));
    EXPECT_EQ(user.DataOwner(), nullptr);
}

// Destroying any chart of a group leaves the survivors consistent and writable; with the
// sanitizers on, a dangling reference would fail these tests.
TEST(RChartSharing, DestroyingTheOwnerLeavesUsersWithTheirItems)
{
    auto owner = std::make_unique<TRChart>();
    TRChart a, b, c;
    owner->AddMoveTo(1, 1);
    owner->AddLineTo(2, 2);
    a.SetUseDataOf(owner.get());
    b.SetUseDataOf(owner.get());
    c.SetUseDataOf(owner.get());
    owner.reset();

    for (TRChart *user : {&a, &b, &c}) {
        EXPECT_EQ(user->DataOwner(), nullptr);
        ASSERT_EQ(user->Count(), 2);
        EXPECT_EQ(user->Items()[1].X, 2);
    }
    // Each survivor now writes on its own.
    a.AddLineTo(10, 10);
    b.AddLineTo(20, 20);
    c.ClearItems();
    EXPECT_EQ(a.Items()[2].X, 10);
    EXPECT_EQ(b.Items()[2].X, 20);
    EXPECT_EQ(a.Count(), 3);
    EXPECT_EQ(c.Count(), 0);
    b.ShowItems();

    // A former user can start a new group.
    a.SetUseDataOf(&b);
    EXPECT_EQ(a.DataOwner(), &b);
    expectSameStore(a, b);
}

TEST(RChartSharing, DestroyingUsersInAnyOrderKeepsTheGroupConsistent)
{
    auto owner = std::make_unique<TRChart>();
    auto a = std::make_unique<TRChart>();
    auto b = std::make_unique<TRChart>();
    auto c = std::make_unique<TRChart>();
    a->SetUseDataOf(owner.get());
    b->SetUseDataOf(owner.get());
    c->SetUseDataOf(owner.get());
    b->AddLineTo(1, 1);

    b.reset(); // the middle user
    ASSERT_EQ(owner->DataUserCount(), 2);
    EXPECT_EQ(owner->DataUsers(0), a.get());
    EXPECT_EQ(owner->DataUsers(1), c.get());
    EXPECT_EQ(owner->Count(), 1);
    owner->AddLineTo(2, 2);
    c->AddLineTo(3, 3);
    expectSameStore(*owner, *a);
    expectSameStore(*owner, *c);
    owner->ShowItems();

    c.reset(); // the last user
    a->AddLineTo(4, 4);
    EXPECT_EQ(owner->Count(), 4);
    a->ShowItems();

    owner.reset(); // the owner, with a user left
    EXPECT_EQ(a->DataOwner(), nullptr);
    EXPECT_EQ(a->Count(), 4);
    a->AddLineTo(5, 5);
    a->ShowItems();
    EXPECT_EQ(a->Items()[4].X, 5);
}

TEST(RChartSharing, ChildChartsLeaveTheGroupWithTheirParent)
{
    // Deleting a chart deletes its child charts too; both leave the owner's user list.
    auto window = std::make_unique<QWidget>();
    auto *early = new TRChart(window.get());
    auto *owner = new TRChart(window.get());
    auto *nested = new TRChart(early);
    auto *late = new TRChart(window.get());
    early->SetUseDataOf(owner);
    nested->SetUseDataOf(owner);
    late->SetUseDataOf(owner);
    owner->AddLineTo(1, 1);
    EXPECT_EQ(nested->Count(), 1);

    delete early;
    ASSERT_EQ(owner->DataUserCount(), 1);
    EXPECT_EQ(owner->DataUsers(0), late);
    owner->AddLineTo(2, 2);
    EXPECT_EQ(late->Count(), 2);
    owner->ShowItems();
    // The window destroys the owner before its remaining user.
    window.reset();
}

TEST(RChartStore, RefillingAfterClearItemsReusesTheReleasedArray)
{
    TRChart chart;
    for (int i = 0; i < 2001; ++i)
        chart.AddLineTo(i, i);
    const TChartItem *first = chart.Items().data();
    for (int round = 0; round < 3; ++round) {
        chart.ClearItems();
        for (int i = 0; i < 2001; ++i)
            chart.AddLineTo(-i, i);
        EXPECT_EQ(chart.Capacity(), 3000);
        EXPECT_EQ(chart.Items().data(), first);
        EXPECT_EQ(chart.Items()[2000].X, -2000);
    }

    // An array that another chart shares is never reused behind that chart's back.
    TRChart user;
    user.SetUseDataOf(&chart);
    chart.ClearItems();
    chart.AddLineTo(5, 5);
    EXPECT_EQ(user.Count(), 1);
    EXPECT_EQ(user.Items()[0].X, 5);
}
