#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/HeadlessPlatform.h"
#include "util/StringUtil.h"

namespace {

std::string TempFile(const std::string& name, const std::string& content)
{
    auto path = std::filesystem::temp_directory_path() / ("zenthar_str_" + name);
    std::ofstream(path, std::ios::binary) << content;
    return path.string();
}

TEST(SplitTest, TokensBetweenSingleSpaces)
{
    EXPECT_EQ(Split("a b c", 0, " "), "a");
    EXPECT_EQ(Split("a b c", 1, " "), "b");
    EXPECT_EQ(Split("a b c", 2, " "), "c");
    EXPECT_EQ(Split("a b c", 3, " "), "");
    EXPECT_EQ(Split(" a", 0, " "), "");
    EXPECT_EQ(Split(" a", 1, " "), "a");
    EXPECT_EQ(Split("3 2  1", 2, " "), "");
    EXPECT_EQ(Split("3 2  1", 3, " "), "1");
    EXPECT_EQ(Split("", 0, " "), "");
    EXPECT_EQ(Split("x,,y", 2, ","), "y");
}

TEST(FindTest, NeverMatchesOnTheSecondByteOfADoubleByteCharacter)
{
    // Katakana "ア" in Shift-JIS is 0x83 0x41; the 0x41 is not the letter A.
    EXPECT_EQ(Find("\x83\x41", "A"), -1);
    EXPECT_EQ(Find("\x83\x41" "A", "A"), 2);
    EXPECT_EQ(Find("abcabc", "c"), 2);
    EXPECT_EQ(Find("abc", "abcd"), -1);
    EXPECT_EQ(Find("", "a"), -1);
    // A lead byte as the very last byte must not make the search read past the end.
    EXPECT_EQ(Find(std::string("ab\x83", 3), "b\x83x"), -1);
    EXPECT_EQ(Find(std::string("a\x83", 2), "\x83"), 1);
}

TEST(FindLastTest, SkipsSecondBytesAndFindsTheRealSeparator)
{
    EXPECT_EQ(FindLast("a\\b\\c", "\\"), 3);
    EXPECT_EQ(FindLast("abc", "\\"), -1);
    // "表" is 0x95 0x5C in Shift-JIS: its second byte is the backslash code.
    const std::string sjisPath = "C:\\\x95\x5C\\game.exe";
    EXPECT_EQ(FindLast(sjisPath, "\\"), 5);
    EXPECT_EQ(FindLast("C:\\\x95\x5C", "\\"), 2);
}

TEST(GetDirectoryTest, CutsAfterTheLastSeparator)
{
    EXPECT_EQ(GetDirectory("C:\\Games\\bin\\game.exe"), "C:\\Games\\bin\\");
    EXPECT_EQ(GetDirectory("game.exe"), "");
    EXPECT_EQ(GetDirectory("C:\\\x95\x5C\\game.exe"), "C:\\\x95\x5C\\");
    // UTF-8 directory names: "あ" is E3 81 82, whose last byte is a Shift-JIS lead byte.
    EXPECT_EQ(GetDirectory("\\home\\あ\\bin\\zenthar"), "\\home\\あ\\bin\\");
    EXPECT_EQ(GetDirectory("\\home\\ゲーム\\x"), "\\home\\ゲーム\\");
    EXPECT_EQ(GetDirectory("\\home\\あ\\x"), "\\home\\あ\\");
    EXPECT_EQ(GetDirectory("\\opt\\日本語\\"), "\\opt\\日本語\\");
}

TEST(NumberTest, StreamExtractionRules)
{
    EXPECT_EQ(ToInt("12abc"), 12);
    EXPECT_EQ(ToInt("abc"), 0);
    EXPECT_EQ(ToInt(""), 0);
    EXPECT_EQ(ToInt(" 7"), 7);
    EXPECT_EQ(ToInt("-45"), -45);
    EXPECT_FLOAT_EQ(ToFloat("2.5x"), 2.5f);
    EXPECT_FLOAT_EQ(ToFloat("x"), 0.0f);
    EXPECT_EQ(IntToString(-45), "-45");
    EXPECT_EQ(IntToString(0), "0");
    EXPECT_EQ(IntToString(2147483647), "2147483647");
}

TEST(IsSjisLeadByteTest, Ranges)
{
    EXPECT_FALSE(IsSjisLeadByte(0x80));
    EXPECT_TRUE(IsSjisLeadByte(0x81));
    EXPECT_TRUE(IsSjisLeadByte(0x9F));
    EXPECT_FALSE(IsSjisLeadByte(0xA0));
    EXPECT_FALSE(IsSjisLeadByte(0xDF));
    EXPECT_TRUE(IsSjisLeadByte(0xE0));
    EXPECT_TRUE(IsSjisLeadByte(0xFC));
    EXPECT_FALSE(IsSjisLeadByte(0xFD));
}

TEST(ReadLinesTest, LineEndsLongLinesAndMissingFiles)
{
    std::vector<std::string> lines{"stale"};
    EXPECT_FALSE(ReadLines("/nonexistent/zenthar/none.txt", lines));
    EXPECT_TRUE(lines.empty());

    std::string p = TempFile("crlf.txt", "one\r\ntwo\nthree");
    ASSERT_TRUE(ReadLines(p, lines));
    EXPECT_EQ(lines, (std::vector<std::string>{"one", "two", "three"}));

    p = TempFile("trail.txt", "a\nb\n");
    ASSERT_TRUE(ReadLines(p, lines));
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "b"}));

    // 1023 bytes fit (with or without CR); 1024 end the reading there.
    std::string fits(1023, 'x'), tooLong(1024, 'y');
    p = TempFile("long.txt", fits + "\r\n" + fits + "\n" + tooLong + "\nafter\n");
    ASSERT_TRUE(ReadLines(p, lines));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], fits);

    // Backslash paths as the game builds them.
    std::string dir = std::filesystem::temp_directory_path().string();
    TempFile("bs.txt", "ok\n");
    std::string gamePath = dir + "\\zenthar_str_bs.txt";
    ASSERT_TRUE(ReadLines(gamePath, lines));
    EXPECT_EQ(lines, (std::vector<std::string>{"ok"}));
}

TEST(FileExistsTest, WildcardsAndBackslashes)
{
    headless::Install();
    std::string p = TempFile("exists.ico", "x");
    std::string dir = std::filesystem::temp_directory_path().string();
    EXPECT_TRUE(FileExists(p));
    EXPECT_TRUE(FileExists(dir + "\\zenthar_str_exists.ico"));
    EXPECT_TRUE(FileExists(dir + "/zenthar_str_exist?.i*"));
    EXPECT_FALSE(FileExists(dir + "/zenthar_str_absent.ico"));

    // Brackets are plain characters, in the directories and in the name.
    const std::filesystem::path games = std::filesystem::temp_directory_path() / "zenthar_str_Games [x86]";
    std::filesystem::create_directories(games / "bin");
    std::ofstream(games / "bin" / "game[1].ico") << "x";
    const std::string bin = games.string() + "\\bin\\";
    EXPECT_TRUE(FileExists(bin + "game[1].ico"));
    EXPECT_TRUE(FileExists(bin + "game[?].*"));
    EXPECT_FALSE(FileExists(bin + "game1.ico"));
    EXPECT_FALSE(FileExists(bin + "game[0-9].ico"));
    EXPECT_FALSE(FileExists(bin + "*.png"));
    std::filesystem::remove_all(games);
}

}  // namespace
