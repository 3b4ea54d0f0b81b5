#include "HexText.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace trelmo {
namespace {

constexpr char UpperDigits[] = "0123456789ABCDEF";
constexpr char LowerDigits[] = "0123456789abcdef";
constexpr char TrimmedSpaces[] = " \t\r\n\v\f";

bool IsHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

std::uint32_t HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return static_cast<std::uint32_t>(c - '0');
    if (c >= 'a' && c <= 'f')
        return static_cast<std::uint32_t>(c - 'a' + 10);
    return static_cast<std::uint32_t>(c - 'A' + 10);
}

bool IsHexBytePiece(const std::string& piece)
{
    return !piece.empty() && piece.size() <= 2 && std::all_of(piece.begin(), piece.end(), IsHexDigit);
}

// The pieces between single blanks; two blanks in a row leave an empty piece.
std::vector<std::string> SplitAtBlanks(const std::string& text)
{
    std::vector<std::string> pieces(1);
    for (char c : text) {
        if (c == ' ')
            pieces.emplace_back();
        else
            pieces.back().push_back(c);
    }
    return pieces;
}

// The runs between separators (white space or commas); empty runs are left out.
std::vector<std::string> SplitAtSeparators(const std::string& text)
{
    const std::string_view separators(", \t\r\n\v\f");
    std::vector<std::string> runs(1);
    for (char c : text) {
        if (separators.find(c) != std::string_view::npos) {
            if (!runs.back().empty())
                runs.emplace_back();
        } else {
            runs.back().push_back(c);
        }
    }
    if (runs.back().empty())
        runs.pop_back();
    return runs;
}

} // namespace

std::string HexPairsText(const std::uint8_t* bytes, std::size_t count, HexCase letters)
{
    const char* digits = letters == HexCase::Upper ? UpperDigits : LowerDigits;
    std::string text;
    text.reserve(3 * count);
    for (std::size_t i = 0; i < count; ++i) {
        text.push_back(digits[bytes[i] >> 4]);
        text.push_back(digits[bytes[i] & 0x0F]);
        text.push_back(' ');
    }
    return text;
}

std::string HexPair(std::uint8_t byte)
{
    return {UpperDigits[byte >> 4], UpperDigits[byte & 0x0F]};
}

std::string BytesToHexText(const std::uint8_t* bytes, std::size_t count, int direction)
{
    return (direction == 1 ? "1" : "0") + HexPairsText(bytes, count);
}

bool IsHexText(const std::string& text)
{
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); });
}

std::uint32_t ParseHexValue(const std::string& text)
{
    std::uint32_t value = 0;
    for (char c : text) {
        if (!IsHexDigit(c))
            break;
        value = value * 16u + HexDigitValue(c);
    }
    return value;
}

std::string TrimInputText(const std::string& text)
{
    const std::size_t begin = text.find_first_not_of(TrimmedSpaces);
    if (begin == std::string::npos)
        return std::string();
    return text.substr(begin, text.find_last_not_of(TrimmedSpaces) + 1 - begin);
}

std::string JoinInputLines(const std::string& text)
{
    std::string joined;
    joined.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue; // CR LF is one line break: its LF gives the blank
        joined.push_back(text[i] == '\r' || text[i] == '\n' ? ' ' : text[i]);
    }
    return joined;
}

std::size_t CountHexTokens(const std::string& text)
{
    const std::string joined = JoinInputLines(text);
    return static_cast<std::size_t>(std::count(joined.begin(), joined.end(), ' ')) + 1;
}

Bytes ParseHexByteList(const std::string& text)
{
    const std::string trimmed = JoinInputLines(TrimInputText(text));
    Bytes bytes;
    if (trimmed.empty())
        return bytes;
    for (const std::string& piece : SplitAtBlanks(trimmed))
        bytes.push_back(static_cast<std::uint8_t>(ParseHexValue(piece) & 0xFFu));
    return bytes;
}

bool IsLegalHexByteList(const std::string& text)
{
    const std::string trimmed = JoinInputLines(TrimInputText(text));
    if (trimmed.empty())
        return true;
    if (CountHexTokens(trimmed) > MaxObjectDataBytes)
        return false;
    const std::vector<std::string> pieces = SplitAtBlanks(trimmed);
    return std::all_of(pieces.begin(), pieces.end(), IsHexBytePiece);
}

std::optional<Bytes> ParseHexDigitPairs(const std::string& text)
{
    Bytes bytes;
    for (const std::string& run : SplitAtSeparators(text)) {
        if (!std::all_of(run.begin(), run.end(), IsHexDigit))
            return std::nullopt;
        const std::string digits = run.size() % 2 != 0 ? '0' + run : run;
        for (std::size_t i = 0; i < digits.size(); i += 2)
            bytes.push_back(static_cast<std::uint8_t>(HexDigitValue(digits[i]) << 4 | HexDigitValue(digits[i + 1])));
    }
    return bytes;
}

} // namespace trelmo
