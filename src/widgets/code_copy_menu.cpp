#include "widgets/code_copy_menu.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QPlainTextEdit>

namespace harfcode {
namespace {

using CFormat = QByteArray (*)(QByteArrayView bytes);

struct CopyEntry {
    const char* caption;
    CFormat format;
};

constexpr CopyEntry kCopyEntries[] = {
    {"Copy as C array", cArrayElements},
    {"Copy as C string", cStringLiteral},
};

void copyAsC(const CodeBytesSource& source, CFormat format, const ProblemReport& report)
{
    const CodeBytes codes = source();
    if (codes.invalid) {
        report(QStringLiteral("Could not copy the codes as C: ") + codes.invalid->description() + u'.');
        return;
    }
    QGuiApplication::clipboard()->setText(QString::fromLatin1(format(codes.bytes)));
}

QMenu* createCodeCopyMenu(QPlainTextEdit& box, const CodeBytesSource& source, const ProblemReport& report,
                         const std::function<void()>& showOnDisplay)
{
    QMenu* menu = box.createStandardContextMenu();
    menu->addSeparator();
    const bool empty = box.document()->isEmpty();
    for (const auto& [caption, format] : kCopyEntries) {
        QAction* entry = menu->addAction(QString::fromLatin1(caption));
        entry->setEnabled(!empty);
        QObject::connect(entry, &QAction::triggered, menu, [source, format, report] { copyAsC(source, format, report); });
    }
    QObject::connect(menu->addAction(QStringLiteral("Show on Display…")), &QAction::triggered, menu, showOnDisplay);
    return menu;
}

}  // namespace

void addCodeCopyEntries(QPlainTextEdit& box, CodeBytesSource source, ProblemReport report,
                        std::function<void()> showOnDisplay)
{
    box.setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(&box, &QWidget::customContextMenuRequested, &box,
                     [&box, source = std::move(source), report = std::move(report),
                      showOnDisplay = std::move(showOnDisplay)](const QPoint& position) {
                         QMenu* menu = createCodeCopyMenu(box, source, report, showOnDisplay);
                         // Shown without a nested event loop and gone once closed, as the
                         // standard menu is.
                         menu->setAttribute(Qt::WA_DeleteOnClose);
                         menu->popup(box.viewport()->mapToGlobal(position));
                     });
}

}  // namespace harfcode
