#pragma once
// Hex texts, written and read: the log line of a frame, the text of a grid cell, the response data field, and the
// readers of hex typed by the user or given on the virtual module's command line. Plain C++.

#include "Frame.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace trelmo {

enum class HexCase { Upper, Lower };

// Each byte as two hex digits followed by one blank ("%02X " or "%02x "): {0x0A, 0xFF} -> "0A FF ".
std::string HexPairsText(const std::uint8_t* bytes, std::size_t count, HexCase letters = HexCase::Upper);
inline std::string HexPairsText(const Bytes& bytes, HexCase letters = HexCase::Upper)
{
    return HexPairsText(bytes.data(), bytes.size(), letters);
}

// One byte as two uppercase hex digits ("%02X"), as a grid cell shows it.
std::string HexPair(std::uint8_t byte);

// The log line of a frame. Direction 1 = sent by the host, anything else = received: "1" or "0", then "%02X " per
// byte.
std::string BytesToHexText(const std::uint8_t* bytes, std::size_t count, int direction);
inline std::string BytesToHexText(const Bytes& bytes, int direction)
{
    return BytesToHexText(bytes.data(), bytes.size(), direction);
}

// The response data field: "%02x " per byte, {0x0A, 0xFF} -> "0a ff ".
inline std::string FormatResponseData(const Bytes& bytes)
{
    return HexPairsText(bytes, HexCase::Lower);
}

// True when every character is 0-9 or A-F (uppercase); the empty text is true.
bool IsHexText(const std::string& text);

// The leading run of hex digits (either case) as a number, modulo 2^32; 0 when the text does not begin with one
// (a blank, a sign or "0x12" all read as 0). Callers keep the low 8 bits.
std::uint32_t ParseHexValue(const std::string& text);

// Leading and trailing blank, tab, CR, LF, VT and FF removed.
std::string TrimInputText(const std::string& text);

// Each line break (CR LF, CR or LF) replaced by one blank, so that pasted lines separate pieces as a blank does.
std::string JoinInputLines(const std::string& text);

// The number of blanks (0x20) and line breaks in the text plus one.
std::size_t CountHexTokens(const std::string& text);

// The bytes of a hex text: trimmed, cut at every single blank or line break, each piece read by ParseHexValue
// (low 8 bits). An empty or blank-only text gives no bytes. "0102" is one piece (0x02); "1 2 3" gives 01 02 03.
Bytes ParseHexByteList(const std::string& text);

// True when the trimmed text stands for at most MaxObjectDataBytes bytes and every piece is one or two hex digits
// (so no two blanks in a row, and nothing that ParseHexByteList would cut short). The empty text is legal: it holds
// no bytes.
bool IsLegalHexByteList(const std::string& text);

// Runs of hex digits separated by white space or commas, each run read as digit pairs ("010203" is three bytes; a
// run of odd length is read with a leading 0, so "1" is 01). Nothing when any other character occurs.
std::optional<Bytes> ParseHexDigitPairs(const std::string& text);

} // namespace trelmo
