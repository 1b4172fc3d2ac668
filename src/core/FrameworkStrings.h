// The framework's numbered texts (ids 128 and up) with their inserts filled in.
#pragma once

#include <cstdint>

inline constexpr int kFrameworkStringsFirst = 128;

// Text 128 + index into out (256 bytes). With text1 given, "%1".."%4" are replaced by the four texts (a
// null text inserts nothing); without it the text is copied as it stands. A missing text raises
// "Ressource de chaîne manquante " followed by its id.
void GetFrameworkString(char* out, int index, const char* text1 = nullptr, const char* text2 = nullptr,
                        const char* text3 = nullptr, const char* text4 = nullptr);

// The same for any id of the string table.
void GetNumberedString(char* out, std::uint32_t id, const char* text1, const char* text2, const char* text3,
                       const char* text4);
