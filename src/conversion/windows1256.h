#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace harfcode {

inline constexpr int kNoWindows1256Value = -1;

namespace windows1256_detail {

struct Mapping {
    char16_t unit;
    std::uint8_t value;
};

inline constexpr Mapping kBestFit[] = {
#include "conversion/windows1256_best_fit.inc"
};

inline constexpr char16_t kPersianDigitZero = 0x06F0;

// Two-level lookup, as the mappings cluster in a few 256-unit pages: the high byte of a
// unit selects a page, page 0 maps nothing.
inline constexpr auto kPageOfHighByte = [] {
    std::array<std::uint8_t, 256> pageOf{};
    std::uint8_t next = 1;
    for (const Mapping& mapping : kBestFit) {
        auto& page = pageOf[mapping.unit >> 8];
        if (page == 0)
            page = next++;
    }
    return pageOf;
}();

inline constexpr std::size_t kPageCount = [] {
    std::size_t count = 1;
    for (std::uint8_t page : kPageOfHighByte)
        count += page != 0;
    return count;
}();

inline constexpr auto kPages = [] {
    std::array<std::array<std::int16_t, 256>, kPageCount> pages{};
    for (auto& page : pages)
        page.fill(kNoWindows1256Value);
    for (const Mapping& mapping : kBestFit)
        pages[kPageOfHighByte[mapping.unit >> 8]][mapping.unit & 0xFF] = mapping.value;
    // Windows turns the Persian digits into "?"; a display of digits wants "0" to "9".
    for (int digit = 0; digit < 10; ++digit)
        pages[kPageOfHighByte[kPersianDigitZero >> 8]][(kPersianDigitZero & 0xFF) + digit] =
            static_cast<std::int16_t>(u'0' + digit);
    return pages;
}();

static_assert(kPageOfHighByte[kPersianDigitZero >> 8] != 0, "the Arabic block has mappings");

}  // namespace windows1256_detail

// The Windows-1256 byte (0..255) of a UTF-16 unit, as Windows converts text to the Arabic
// code page with best fit, or kNoWindows1256Value where Windows has no mapping (and for
// every surrogate). Persian digits take the values of "0" to "9".
constexpr int windows1256Value(char16_t unit)
{
    using namespace windows1256_detail;
    return kPages[kPageOfHighByte[unit >> 8]][unit & 0xFF];
}

}  // namespace harfcode
