#pragma once
// Expected receipt bytes written as UTF-8 with the ESC/POS commands inline, turned into code
// page 949 by iconv directly, so the expectation does not go through the code under test.

#include <QString>

#include <string>

namespace expect {

inline const std::string INIT{"\x1B\x40", 2};
inline const std::string DH{"\x1D\x21\x01", 3};
inline const std::string BOLD{"\x1B\x45\x01", 3};
inline const std::string CENTRE{"\x1B\x61\x01", 3};
inline const std::string LEFT{"\x1B\x61\x00", 3};
inline const std::string TABS2{"\x1B\x44\x1A\x1E\x00", 5};
inline const std::string TABS1{"\x1B\x44\x1E\x00", 4};
inline const std::string CUT{"\x1B\x69", 2};
inline const std::string SEP = std::string(42, '-') + "\n";

// UTF-8 (command bytes included) to code page 949; fails the test on an unmappable character.
std::string Cp949(const std::string& utf8);

// Bytes as "1B 40 ..." for readable failure messages.
std::string Hex(const std::string& bytes);

// The bytes from the first start marker up to (not including) the next end marker after it.
std::string Between(const std::string& bytes, const std::string& start, const std::string& end);

std::string ReadFile(const QString& path);

}  // namespace expect
