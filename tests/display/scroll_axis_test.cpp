// The Display window's scrolling over pictures up to far longer than an int counts.
#include "display/scroll_axis.h"

#include <QScrollBar>

#include <gtest/gtest.h>

namespace harfcode {
namespace {

TEST(ScrollAxis, CentresAShortPictureAndReachesTheLastPixelsOfALongOne)
{
    constexpr int kView = 700;
    struct Case { const char* what; qint64 length; qint64 step; };  // step: the pixels of one unit
    const Case cases[] = {
        {"shorter than the view", 300, 0},
        {"a pixel longer", kView + 1, 1},
        {"past what an int counts", (qint64(1) << 33) + kView + 5, 8},
        {"2^62 pixels", qint64(1) << 62, qint64(1) << 32},
    };
    for (const Case& c : cases) {
        QScrollBar bar;
        ScrollAxis axis;
        axis.fit(bar, c.length, kView);
        if (c.length <= kView) {
            EXPECT_EQ(bar.maximum(), 0) << c.what;
            EXPECT_EQ(axis.origin(), -(kView - c.length) / 2) << c.what << ": centred";
            continue;
        }
        axis.scrollTo(1);
        EXPECT_EQ(axis.origin(), c.step) << c.what;
        axis.scrollTo(bar.maximum() - 1);
        EXPECT_LT(axis.origin(), c.length - kView) << c.what << ": no position beyond the end";
        axis.scrollTo(bar.maximum());
        EXPECT_EQ(axis.origin(), c.length - kView) << c.what << ": the last pixels";
    }
}

}  // namespace
}  // namespace harfcode
