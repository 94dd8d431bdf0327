#include "enemy/SpawnTable.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <ostream>
#include <string>

namespace {

class SpawnTableTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        table.Close();
        if (!path.empty()) std::remove(path.c_str());
    }
    void Open(const std::string& text)
    {
        char name[] = "/tmp/zenthar-table-XXXXXX";
        const int fd = mkstemp(name);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
        close(fd);
        path = name;
        ASSERT_TRUE(table.Open(path));
    }

    std::string path;
    SpawnTable table;
    SpawnRow row;
};

TEST_F(SpawnTableTest, RowsAreNineNumbersWhateverTheLineBreaks)
{
    Open("0 120 3 300.0 0.0 0.0 2.0 100 1 2 130\n  -4 +1.5e1\r\n\t-.5 7. 3 99 -1\n");
    ASSERT_EQ(table.Read(row), 9);
    EXPECT_EQ(row.type, 0);
    EXPECT_EQ(row.frame, 120);
    EXPECT_EQ(row.hp, 3);
    EXPECT_EQ(row.x, 300.0f);
    EXPECT_EQ(row.speedY, 2.0f);
    EXPECT_EQ(row.duration, 100);
    EXPECT_EQ(row.pattern, 1);
    ASSERT_EQ(table.Read(row), 9);
    EXPECT_EQ(row.type, 2);
    EXPECT_EQ(row.hp, -4);
    EXPECT_EQ(row.x, 15.0f);
    EXPECT_EQ(row.y, -0.5f);
    EXPECT_EQ(row.speedX, 7.0f);
    EXPECT_EQ(row.pattern, -1);
    EXPECT_EQ(table.Read(row), 0);  // end of table: everything kept
    EXPECT_EQ(row.type, 2);
    EXPECT_FALSE(table.IsBlocked());
}

TEST_F(SpawnTableTest, AnUnconvertibleTokenKeepsLaterFieldsAndBlocksEveryLaterRead)
{
    Open("0 10 3 1 2 3 4 5 6\n1 20 x 9 9 9 9 9 9\n1 30 1 1 1 1 1 1 1\n");
    ASSERT_EQ(table.Read(row), 9);
    EXPECT_EQ(table.Read(row), 2);
    EXPECT_EQ(row.type, 1);
    EXPECT_EQ(row.frame, 20);
    EXPECT_EQ(row.hp, 3);
    EXPECT_EQ(row.pattern, 6);
    EXPECT_TRUE(table.IsBlocked());
    EXPECT_EQ(table.Read(row), 0);
    EXPECT_EQ(row.frame, 20);
}

TEST_F(SpawnTableTest, ANumberEndsAtTheFirstCharacterThatCannotContinueIt)
{
    Open("1 2 3-4.5 6 7 8 9 10 0 5 7.25 1 1 1 1 1");
    ASSERT_EQ(table.Read(row), 9);
    EXPECT_EQ(row.hp, 3);
    EXPECT_EQ(row.x, -4.5f);
    EXPECT_EQ(row.pattern, 10);
    ASSERT_EQ(table.Read(row), 9);
    EXPECT_EQ(row.hp, 7);
    EXPECT_EQ(row.x, 0.25f);
    EXPECT_EQ(row.pattern, 1);
}

// Texts that must not convert: out of range, not finite, a sign or exponent without digits. Some
// leave a whole number in the hit-point column first; kUnread marks those that do not.
constexpr int kUnread = 77;
struct Hostile {
    const char* text;
    int hp;
};
void PrintTo(const Hostile& h, std::ostream* os)
{
    *os << ::testing::PrintToString(h.text);
}

class SpawnTableHostileTest : public SpawnTableTest, public ::testing::WithParamInterface<Hostile> {};

TEST_P(SpawnTableHostileTest, StopsTheRowThereWithoutChangingTheField)
{
    Open(std::string("0 5 ") + GetParam().text + " 1 1 1 1 1 1\n0 6 1 1 1 1 1 1 1\n");
    row.hp = kUnread;
    row.x = 77.0f;
    EXPECT_EQ(table.Read(row), GetParam().hp == kUnread ? 2 : 3);
    EXPECT_EQ(row.frame, 5);
    EXPECT_EQ(row.hp, GetParam().hp);
    EXPECT_EQ(row.x, 77.0f);
    EXPECT_TRUE(table.IsBlocked());
    EXPECT_EQ(table.Read(row), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Tokens, SpawnTableHostileTest,
    ::testing::Values(Hostile{"2147483648", kUnread}, Hostile{"-2147483649", kUnread},
                      Hostile{"99999999999999999999999", kUnread}, Hostile{"-", kUnread}, Hostile{"+", kUnread},
                      Hostile{"nan", kUnread}, Hostile{"inf", kUnread}, Hostile{"\x01\xff\xfe", kUnread},
                      Hostile{"1e", 1}, Hostile{"3 1e39", 3}, Hostile{"3 -1e400", 3}, Hostile{"3 nan", 3},
                      Hostile{"3 infinity", 3}, Hostile{"3 1e+", 3}));

TEST_F(SpawnTableTest, TheExtremesOfTheTypesStillConvert)
{
    Open("2147483647 -2147483648 0 3.4e38 -3.4e38 1e-30 0 0 0");
    ASSERT_EQ(table.Read(row), 9);
    EXPECT_EQ(row.type, 2147483647);
    EXPECT_EQ(row.frame, -2147483647 - 1);
    EXPECT_FLOAT_EQ(row.x, 3.4e38f);
    EXPECT_FLOAT_EQ(row.speedX, 1e-30f);
}

TEST_F(SpawnTableTest, AHugeLineIsRefusedCheaply)
{
    Open("0 1 " + std::string(2 * 1024 * 1024, '7') + " 1 1 1 1 1 1");
    EXPECT_EQ(table.Read(row), 2);
    EXPECT_TRUE(table.IsBlocked());
    table.Close();
    Open("0 1 1 " + std::string(2 * 1024 * 1024, '5') + " 1 1 1 1 1");
    EXPECT_EQ(table.Read(row), 3);
    table.Close();
    // Whitespace alone is an empty table, however much of it there is.
    Open(std::string(2 * 1024 * 1024, ' '));
    EXPECT_EQ(table.Read(row), 0);
    EXPECT_FALSE(table.IsBlocked());
}

TEST_F(SpawnTableTest, AMissingTableReadsAsEmpty)
{
    EXPECT_FALSE(table.Open("/nonexistent/Table/table1.txt"));
    EXPECT_FALSE(table.IsOpen());
    row.frame = 42;
    EXPECT_EQ(table.Read(row), 0);
    EXPECT_EQ(row.frame, 42);
}

}  // namespace
