// The group engine without a window: labels and their sizes, the favored-states deal and count,
// the shuffles and the index of a group's sub-matrix.
#include "framework/rtl/System.h"
#include "models/presence_absence/GroupSims.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <array>
#include <map>

namespace {

// A work grid with rows grouping: titles, the label in column 1, one text per site from column 2.
// Rows are "label:cell cell ..."; a cell may be any text.
void Load(TGroupSims &S, const QStringList &Rows, int32_t Grouping = grRows)
{
    std::vector<QStringList> cells;
    for (const QString &row : Rows) {
        const int colon = static_cast<int>(row.indexOf(QLatin1Char(':')));
        QStringList line{row.left(colon)};
        line << row.mid(colon + 1).split(QLatin1Char(' '));
        cells.push_back(line);
    }
    const int32_t cols = static_cast<int32_t>(cells[0].size()) + 1;
    const int32_t rows = static_cast<int32_t>(cells.size()) + 1;
    S.Work.Assign(cols, rows, [&](int32_t c, int32_t r) {
        if (r == 0) return c == 0 ? QStringLiteral("species") : QStringLiteral("t%1").arg(c);
        if (c == 0) return QStringLiteral("sp%1").arg(r);
        return cells[static_cast<size_t>(r - 1)].value(c - 1);
    });
    S.Grouping = Grouping;
}

// Rows of one character per cell from column 1 on (no label column): "rrss" is row 1 of region
// labels, the others 0/1 data.
void LoadColumns(TGroupSims &S, const QStringList &Rows)
{
    const int32_t cols = static_cast<int32_t>(Rows[0].size()) + 1, rows = static_cast<int32_t>(Rows.size()) + 1;
    S.Work.Assign(cols, rows, [&](int32_t c, int32_t r) {
        if (r == 0 || c == 0) return QStringLiteral("t");
        return QString(Rows[r - 1][c - 1]);
    });
    S.Grouping = grColumns;
}

QStringList GuildRows() { return {"a:1 1 0 0", "a:0 0 1 1", "b:1 1 0 0", "b:1 1 0 0", "b:0 0 1 1"}; }

std::vector<int32_t> Labels(const TGroupSims &S, int32_t Grouping)
{
    std::vector<int32_t> l;
    const int32_t last = Grouping == grRows ? S.Work.RowCount() : S.Work.ColCount();
    for (int32_t k = 1; k < last; ++k) l.push_back(Grouping == grRows ? S.Work.Id(1, k) : S.Work.Id(k, 1));
    return l;
}

} // namespace

TEST(GroupPresence, IntegerParseOfTheCellText)
{
    const std::pair<const char *, int> cases[] = {{"1", 1},     {"2", 1},  {"  3", 1}, {"+4", 1}, {"1x", 1},
                                                  {"99999999999", 1}, {"-1", 0}, {"0", 0},  {"00", 0}, {"", 0},
                                                  {"abc", 0}, {"-", 0},  {"0.9", 0}, {"-7", 0}};
    for (const auto &[text, presence] : cases) EXPECT_EQ(PresenceValue(QString::fromLatin1(text)), presence) << text;
}

TEST(GroupLabels, ListSizesAndSpreadTable)
{
    TGroupSims s;
    Load(s, GuildRows());
    QString message;
    ASSERT_TRUE(s.BuildGuildList(QStringLiteral("few"), message));
    EXPECT_EQ(s.GuildList, QStringList({"a", "b"}));
    EXPECT_EQ(s.GuildCounts, (std::vector<int32_t>{2, 3}));
    EXPECT_EQ(s.GuildCount, 2);
    EXPECT_EQ(s.Favored, (std::vector<int32_t>{1, 0, 1, 0, 1}));

    // Three groups dealt like cards: sizes 2, 2, 3.
    Load(s, {"x:1", "y:1", "z:1", "x:1", "z:1", "y:1", "z:1"});
    ASSERT_TRUE(s.BuildGuildList(QStringLiteral("few"), message));
    EXPECT_EQ(s.GuildCounts, (std::vector<int32_t>{2, 2, 3}));
    EXPECT_EQ(s.Favored, (std::vector<int32_t>{1, 1, 0, 1, 1, 0, 1}));
}

// Labels compare exactly: "a" and "A" are two groups, the empty text is a label too, and the
// sizes always add up to the rows.
TEST(GroupLabels, ExactComparisonKeepsTheSizesWhole)
{
    TGroupSims s;
    QString message;
    Load(s, {"a:1", "A:1", "a:0", "A:0", ":1", ":1"});
    ASSERT_TRUE(s.BuildGuildList(QStringLiteral("few"), message));
    EXPECT_EQ(s.GuildList, QStringList({"a", "A", ""}));
    EXPECT_EQ(s.GuildCounts, (std::vector<int32_t>{2, 2, 2}));
    EXPECT_EQ(s.Favored.size(), 6u);

    Load(s, {"a:1", "a:1", "A:1", "b:1"});
    EXPECT_FALSE(s.BuildGuildList(QStringLiteral("Each guild must contain at least 2 species."), message));
    EXPECT_EQ(message, "Each guild must contain at least 2 species.");

    LoadColumns(s, {"rrsrt", "10101"});
    EXPECT_FALSE(s.BuildRegionList(message));
    EXPECT_EQ(message, "Each region must contain at least 2 sites.");
    LoadColumns(s, {"rrss", "1010"});
    EXPECT_TRUE(s.BuildRegionList(message));
    EXPECT_EQ(s.GuildCounts, (std::vector<int32_t>{2, 2}));
}

TEST(GroupFavoredStates, CountsSitesSpreadAsEvenlyAsTheirRichnessAllows)
{
    // Labels a a b b b: richness 2 and 3 can count (RowCount 6).
    //   s1: a + b            richness 2, spread 0   favored
    //   s2: b + b            richness 2, spread 2
    //   s3: a                richness 1             never
    //   s4: a a b b          richness 4             never
    //   s5: a "2" + b        richness 2, a has no "1": spread 1
    //   s6: a + b + b        richness 3, spread 1   favored
    TGroupSims s;
    Load(s, {"a:1 0 1 1 2 1", "a:0 0 0 1 0 0", "b:1 1 0 1 1 1", "b:0 1 0 1 0 1", "b:0 0 0 0 0 0"});
    QString message;
    ASSERT_TRUE(s.BuildGuildList(QStringLiteral("few"), message));
    s.ReadFavoredMatrix();
    EXPECT_EQ(s.Richness, (std::vector<int32_t>{0, 2, 2, 1, 4, 2, 3}));
    EXPECT_EQ(s.CountFavoredStates(), 2);

    // The guild fixture: every site is favored.
    Load(s, GuildRows());
    ASSERT_TRUE(s.BuildGuildList(QStringLiteral("few"), message));
    s.ReadFavoredMatrix();
    EXPECT_EQ(s.CountFavoredStates(), 4);
}

TEST(GroupShuffles, LabelsMoveAndDataStay)
{
    TGroupSims s;
    Load(s, {"a:1 0 2", "a:0 1 x", "b:1 1 0", "c:0 0 1", "b:1 0 1", "c:-1 1 1"});
    const std::vector<int32_t> before = Labels(s, grRows);
    std::vector<QString> data;
    for (int32_t c = 2; c < 5; ++c)
        for (int32_t r = 1; r < 7; ++r) data.push_back(s.Work.Cells(c, r));
    RandSeed = 17;
    bool moved = false;
    for (int pass = 0; pass < 200; ++pass) {
        s.ShuffleGroupLabels(grRows);
        std::vector<int32_t> now = Labels(s, grRows);
        moved = moved || now != before;
        std::sort(now.begin(), now.end());
        std::vector<int32_t> sorted = before;
        std::sort(sorted.begin(), sorted.end());
        ASSERT_EQ(now, sorted) << pass;
    }
    EXPECT_TRUE(moved);
    size_t k = 0;
    for (int32_t c = 2; c < 5; ++c)
        for (int32_t r = 1; r < 7; ++r) EXPECT_EQ(s.Work.Cells(c, r), data[k++]);

    // Region labels in row 1; the data rows below them stay.
    LoadColumns(s, {"rrsst", "10101", "01100"});
    const std::vector<int32_t> regions = Labels(s, grColumns);
    for (int pass = 0; pass < 50; ++pass) s.ShuffleGroupLabels(grColumns);
    std::vector<int32_t> now = Labels(s, grColumns), sorted = regions;
    std::sort(now.begin(), now.end());
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(now, sorted);
    EXPECT_EQ(s.Work.Cells(5, 2), "1");
    EXPECT_EQ(s.Work.Cells(2, 3), "1");
}

// One pass from (B, B, A): every position draws its partner from the whole line, itself
// included, so A ends at positions 1, 2, 3 with probabilities 8/27, 10/27, 9/27 (counted over
// the 27 equally likely draws). A partner rule that never draws the last position would leave A
// at 3 with probability 0.
TEST(GroupShuffles, OnePassDrawsPartnersOverTheWholeLine)
{
    struct Case
    {
        const char *name;
        std::function<void(TGroupSims &)> load;
        std::function<void(TGroupSims &)> pass;
        std::function<QString(const TGroupSims &, int)> at;  // position 1..3
    };
    const Case cases[] = {
        {"labels", [](TGroupSims &s) { Load(s, {"B:1", "B:1", "A:1"}); },
         [](TGroupSims &s) { s.ShuffleGroupLabels(grRows); },
         [](const TGroupSims &s, int k) { return s.Work.Cells(1, k); }},
        {"row cells", [](TGroupSims &s) { Load(s, {"g:B B A"}); }, [](TGroupSims &s) { s.ShuffleRowCells(); },
         [](const TGroupSims &s, int k) { return s.Work.Cells(k + 1, 1); }},
        {"column cells", [](TGroupSims &s) { Load(s, {"g:B", "g:B", "g:A"}); },
         [](TGroupSims &s) { s.ShuffleColumnCells(); }, [](const TGroupSims &s, int k) { return s.Work.Cells(2, k); }},
    };
    const int trials = 27000;
    for (const Case &c : cases) {
        std::array<int, 3> ends{};
        TGroupSims s;
        RandSeed = 99;
        for (int t = 0; t < trials; ++t) {
            c.load(s);
            c.pass(s);
            for (int k = 1; k <= 3; ++k)
                if (c.at(s, k) == "A") ++ends[static_cast<size_t>(k - 1)];
        }
        // Expected 8000, 10000, 9000; one standard deviation is about 77.
        EXPECT_NEAR(ends[0], 8000, 400) << c.name;
        EXPECT_NEAR(ends[1], 10000, 400) << c.name;
        EXPECT_NEAR(ends[2], 9000, 400) << c.name;
    }
}

TEST(GroupShuffles, RandomizationsKeepTheirMargins)
{
    const QStringList rows{"a:1 0 1 1 0", "a:0 1 1 0 0", "b:1 1 0 0 1", "b:0 0 0 1 1", "c:1 0 0 0 0", "c:1 1 1 1 0"};
    const auto rowTotal = [](const TGroupSims &s, int32_t r) {
        int t = 0;
        for (int32_t c = 2; c < s.Work.ColCount(); ++c) t += s.Work.Presence(c, r);
        return t;
    };
    const auto colTotal = [](const TGroupSims &s, int32_t c) {
        int t = 0;
        for (int32_t r = 1; r < s.Work.RowCount(); ++r) t += s.Work.Presence(c, r);
        return t;
    };
    TGroupSims s;
    Load(s, rows);
    const std::vector<int32_t> labels = Labels(s, grRows);
    std::vector<int> rowTotals, colTotals;
    for (int32_t r = 1; r <= 6; ++r) rowTotals.push_back(rowTotal(s, r));
    for (int32_t c = 2; c <= 6; ++c) colTotals.push_back(colTotal(s, c));
    RandSeed = 3;
    for (int32_t item : {rzFixedSpecies, rzFixedSites, rzEquiprobable, rzFixedSpeciesAndSites}) {
        Load(s, rows);
        bool changed = false;
        for (int pass = 0; pass < 100; ++pass) {
            s.Randomize(item);
            int grand = 0;
            for (int32_t r = 1; r <= 6; ++r) {
                grand += rowTotal(s, r);
                if (item == rzFixedSites || item == rzFixedSpeciesAndSites) {
                    ASSERT_EQ(rowTotal(s, r), rowTotals[static_cast<size_t>(r - 1)]) << item;
                }
                changed = changed || rowTotal(s, r) != rowTotals[static_cast<size_t>(r - 1)];
            }
            for (int32_t c = 2; c <= 6; ++c)
                if (item == rzFixedSpecies || item == rzFixedSpeciesAndSites) {
                    ASSERT_EQ(colTotal(s, c), colTotals[static_cast<size_t>(c - 2)]) << item;
                }
            ASSERT_EQ(grand, 15) << item;
            if (item != rzFixedSpeciesAndSites) {
                ASSERT_EQ(Labels(s, grRows), labels) << item;
            }
        }
        if (item == rzFixedSpecies || item == rzEquiprobable) {
            EXPECT_TRUE(changed) << item;
        }
    }
    // Labels only: the data cells are exactly as loaded.
    Load(s, rows);
    for (int pass = 0; pass < 30; ++pass) s.Randomize(rzFixedSpeciesAndSites);
    EXPECT_EQ(s.Work.Cells(6, 3), "1");
    EXPECT_EQ(s.Work.Cells(2, 4), "0");
}

// One data column beside the labels: the row shuffle has nothing to exchange with and returns,
// the column shuffle still runs. Two data rows are exchanged at random, not in turn.
TEST(GroupShuffles, NarrowMatrices)
{
    TGroupSims s;
    Load(s, {"a:1", "a:0", "b:0", "b:1"});
    RandSeed = 8;
    for (int pass = 0; pass < 20; ++pass) s.Randomize(rzFixedSites);
    EXPECT_EQ(QStringList({s.Work.Cells(2, 1), s.Work.Cells(2, 2), s.Work.Cells(2, 3), s.Work.Cells(2, 4)}),
              QStringList({"1", "0", "0", "1"}));
    int total = 0;
    for (int pass = 0; pass < 20; ++pass) {
        s.Randomize(rzEquiprobable);
        total = 0;
        for (int32_t r = 1; r <= 4; ++r) total += s.Work.Presence(2, r);
        ASSERT_EQ(total, 2);
    }

    Load(s, {"a:1 0", "a:0 1"});
    int flips = 0, stays = 0;
    QString last = s.Work.Cells(2, 1);
    for (int pass = 0; pass < 400; ++pass) {
        s.Randomize(rzFixedSpecies);
        (s.Work.Cells(2, 1) == last ? stays : flips)++;
        last = s.Work.Cells(2, 1);
    }
    // Each pass keeps or exchanges the two rows with probability 1/2 each.
    EXPECT_NEAR(flips, 200, 60);
    EXPECT_NEAR(stays, 200, 60);
}

TEST(GroupEvaluation, GroupValuesOfEveryIndexByHand)
{
    // a: 1100 / 0011; b: 1100 / 1100 / 0011; c: 1100 and an empty row, one species kept.
    const QStringList rows{"a:1 1 0 0", "a:0 0 1 1", "b:1 1 0 0", "b:1 1 0 0", "b:0 0 1 1", "c:1 1 0 0", "c:0 0 0 0"};
    struct Case
    {
        int32_t index;
        double a, b, c;
    };
    const Case cases[] = {
        {giCScore, 4.0, 8.0 / 3, 0},
        {giCheckerboards, 1, 2, 0},
        {giCombinations, 2, 2, 1},
        {giVRatio, 0, 1.0 / 3, 0},
        {giRelativeOverlap, 0, 1.0 / 3, 0},
        {giUnion, 4, 10.0 / 3, 0},
        {giOverlap, 0, 2.0 / 3, 0},
    };
    TGroupSims s;
    Load(s, rows);
    QString message;
    ASSERT_TRUE(s.BuildGuildList(QStringLiteral("few"), message));
    for (const Case &c : cases) {
        s.Index = c.index;
        const double expected[] = {c.a, c.b, c.c};
        for (int32_t g = 0; g < 3; ++g) {
            double variance = -1;
            bool present = false;
            EXPECT_NEAR(s.EvaluateGroup(g, variance, present), expected[g], 1e-12) << c.index << " group " << g;
            EXPECT_TRUE(present);
            if (c.index == giCScore && g == 1) {
                EXPECT_NEAR(variance, 16.0 / 3, 1e-12);
            }
        }
    }
    // An empty group holds no presence.
    Load(s, {"a:1 0", "a:0 1", "z:0 0", "z:0 0"});
    ASSERT_TRUE(s.BuildGuildList(QStringLiteral("few"), message));
    double variance = 0;
    bool present = true;
    EXPECT_EQ(s.EvaluateGroup(1, variance, present), 0.0);
    EXPECT_FALSE(present);
}

TEST(GroupEvaluation, RegionsHoldEverySpeciesOverTheirSites)
{
    // Row 1: region labels; below, three species over four sites.
    //   r (sites 1, 2): 10 / 01 / 11 -> C-score units 1, 0, 0 -> 1/3
    //   s (sites 3, 4): 11 / 00 / 10 -> species 2 dropped; units 0 -> 0
    TGroupSims s;
    LoadColumns(s, {"rrss", "1011", "0100", "1110"});
    QString message;
    ASSERT_TRUE(s.BuildRegionList(message));
    double variance = 0;
    bool present = false;
    EXPECT_NEAR(s.EvaluateGroup(0, variance, present), 1.0 / 3, 1e-12);
    EXPECT_NEAR(s.EvaluateGroup(1, variance, present), 0.0, 1e-12);
    s.Index = giCheckerboards;
    EXPECT_EQ(s.EvaluateGroup(0, variance, present), 1.0);
}
