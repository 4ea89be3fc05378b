#include "lines.h"

static const char greeting[] FLASH = "سلام دنیا\n";
static const char price[] FLASH = "قیمت: ۱۲۵ تومان (با تخفیف)\n";
static const char version[] FLASH = "نسخهٔ 2.1 از HARFCODE\r\n";
static const char menu[] FLASH = "«منو» ← تنظیمات\tصدا\n";

const char *const lines[] FLASH = {greeting, price, version, menu};
const size_t line_count = sizeof lines / sizeof lines[0];
