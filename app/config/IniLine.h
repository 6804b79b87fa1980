#pragma once
// One line of a profile file as the bytes it holds: whether it opens a section and which, the
// key it sets, whether it is blank. A line that is not UTF-8 is read as Latin-1 (files from
// Windows may be in an 8-bit code page); the bytes themselves are never changed here.
#include <QByteArray>
#include <QString>
#include <optional>

namespace IniLine {
bool isAsciiSpace(char c);
// Strict UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF).
bool isUtf8(const QByteArray& bytes);
// UTF-8 when the bytes are, else Latin-1.
QString decode(const QByteArray& bytes);
// The section a line opens, if it is a header: "[name]" (the bracket may be missing).
std::optional<QString> sectionOf(const QByteArray& bytes);
// The key a (non-header) line sets, as written.
std::optional<QString> keyOf(const QByteArray& bytes);
bool isBlank(const QByteArray& bytes);
} // namespace IniLine
