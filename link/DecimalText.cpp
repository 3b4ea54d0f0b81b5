#include "DecimalText.h"

#include <algorithm>
#include <climits>

namespace trelmo {
namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::size_t SkipSpace(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    return i;
}

} // namespace

std::int32_t ParseDecimalValue(const std::string& text)
{
    std::size_t i = SkipSpace(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::uint32_t value = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i)
        value = value * 10u + static_cast<std::uint32_t>(text[i] - '0');
    if (negative)
        value = 0u - value;
    return static_cast<std::int32_t>(value);
}

int LeadingDigitsValue(const std::string& text)
{
    long long value = 0;
    for (std::size_t i = 0; i < text.size() && IsDigit(text[i]); ++i)
        value = std::min<long long>(value * 10 + (text[i] - '0'), INT_MAX);
    return static_cast<int>(value);
}

int LeadingDigitsValueAfterSpace(const std::string& text)
{
    return LeadingDigitsValue(text.substr(SkipSpace(text)));
}

} // namespace trelmo
