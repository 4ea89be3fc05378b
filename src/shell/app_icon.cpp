#include "shell/app_icon.h"

#include <QPainter>
#include <QPixmap>

#include <array>

namespace harfcode {
namespace {

constexpr int kIconSize = 64;
constexpr int kDotPitch = 8;
constexpr int kDotDiameter = 6;
constexpr int kMatrixSize = 7;
constexpr int kMatrixOrigin = (kIconSize - kMatrixSize * kDotPitch) / 2;
constexpr int kDotInset = (kDotPitch - kDotDiameter) / 2;

// '#' marks a lit dot: the bowl of beh with its dot beneath.
constexpr std::array<const char*, kMatrixSize> kLitDots{
    ".......",
    ".......",
    "#.....#",
    "#.....#",
    "#######",
    ".......",
    "...#...",
};

}  // namespace

QIcon appIcon()
{
    QPixmap pixmap(kIconSize, kIconSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x20, 0x22, 0x28));
    painter.drawRoundedRect(QRectF(0, 0, kIconSize, kIconSize), 10, 10);

    const QColor lit(0xFF, 0xB0, 0x20);
    const QColor unlit(0x48, 0x3A, 0x28);
    for (int row = 0; row < kMatrixSize; ++row) {
        for (int column = 0; column < kMatrixSize; ++column) {
            painter.setBrush(kLitDots[row][column] == '#' ? lit : unlit);
            painter.drawEllipse(kMatrixOrigin + column * kDotPitch + kDotInset,
                                kMatrixOrigin + row * kDotPitch + kDotInset, kDotDiameter, kDotDiameter);
        }
    }
    painter.end();
    return QIcon(pixmap);
}

}  // namespace harfcode
