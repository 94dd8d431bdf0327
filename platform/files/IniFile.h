// Reading one integer from a Windows-style INI file, as the game reads its window setting.
#pragma once
#include <string>

// section and key are UTF-8; a section header written in UTF-8 or in Shift-JIS matches.
// Missing file, section or key gives defaultValue. Numbers read like the Win32 call: optional sign,
// decimal digits, stopping at the first other character; no digits give 0.
unsigned GetPrivateProfileInt(const std::string& section, const std::string& key, int defaultValue,
                              const std::string& path);

// UTF-8 text in Shift-JIS (code page 932); empty when it cannot be converted.
std::string Utf8ToShiftJis(const std::string& utf8);
