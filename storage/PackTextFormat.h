#pragma once
// The pack text's constants, shared by its writer and its reader.
//
// A pack text carries one whole training pack as UTF-8 text, LF line breaks:
//   QMPACK 1 NAME                     the format, its version, the pack's name
//   <one shot file's line per shot>   in the pack's display order
//   QMPACK END COUNT CHECKSUM         the number of shot lines, then the
//                                     CRC-32 of every line before this one
// COUNT is decimal; CHECKSUM is the CRC-32 (zlib's crc32) of the lines before
// the last one, each followed by one LF, as eight lower-case hexadecimal
// digits. A reader takes CRLF as LF, ignores spaces and tabs at either end of
// a line and ignores blank lines (chats add all three), and computes the
// checksum over the lines so trimmed; a writer writes them that way.

#include <cstddef>
#include <string_view>

namespace packtext {

inline constexpr std::string_view magic = "QMPACK";
// The only version there is. A reader refuses every other one by its number.
inline constexpr int version = 1;
// The last line's second word.
inline constexpr std::string_view endWord = "END";
inline constexpr size_t checksumDigits = 8;

// Spaces and tabs at either end of a line are not part of it.
inline constexpr std::string_view lineBlanks = " \t\r";
// Windows editors put this in front of a UTF-8 text.
inline constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

// A pack of 10,000 shots is under 1 MiB; anything far larger is no pack
// text and is refused before it is read into memory.
inline constexpr size_t maxTextBytes = 16 * 1024 * 1024;

// Exported packs are written to QMShots/Exports/NAME + this.
inline constexpr std::string_view fileExtension = ".qmpack";

// An import is built in a hidden folder in the packs folder, named
// importFolderPrefix + a number + importFolderSuffix, and renamed into place
// when complete. No pack name can look like this (pack names hold no "."),
// and the pack list never shows such a folder.
inline constexpr std::string_view importFolderPrefix = ".import-";
inline constexpr std::string_view importFolderSuffix = ".tmp";

}  // namespace packtext
