// Byte-string and path helpers: Shift-JIS aware searching, splitting, number parsing, paths.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Replaces lines with the lines of the text file; false when it cannot be opened.
// Lines longer than 1023 bytes end the reading (that line is not kept), as with a 1024-byte buffer.
bool ReadLines(const std::string& path, std::vector<std::string>& lines);

// Token number index (from 0) between occurrences of delimiter; empty when there are fewer.
std::string Split(const std::string& text, int index, const std::string& delimiter);

// First byte position of pattern that does not start inside a double-byte character, or -1.
int Find(const std::string& text, const std::string& pattern);
// Last such position, or -1.
int FindLast(const std::string& text, const std::string& pattern);

bool IsSjisLeadByte(unsigned char byte);

// One number by stream extraction; 0 when none could be read.
std::int32_t ToInt(const std::string& text);
float ToFloat(const std::string& text);
std::string IntToString(std::int32_t value);

// True when at least one file matches the path (wildcards allowed in the file name).
bool FileExists(const std::string& path);
// The path up to and including its last backslash; empty when there is none.
std::string GetDirectory(const std::string& path);
std::string GetModuleDirectory();
