#include "app/qt/report_view.h"

#include <QAbstractTextDocumentLayout>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>

namespace venuecheck {

ReportView::ReportView(QWidget* parent) : QTextBrowser(parent) {
    setOpenLinks(false);
    setOpenExternalLinks(false);
    setUndoRedoEnabled(false);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard |
                            Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    setPlaceholderText(tr("Choose a venue above to check it."));
}

void ReportView::MarkBlock(int block) {
    const QTextBlock target = document()->findBlockByNumber(block);
    if (block < 0 || !target.isValid()) {
        marked_ = -1;
        setExtraSelections({});
        return;
    }
    marked_ = block;
    QTextEdit::ExtraSelection mark;
    // Without a selection, the mark spans the whole width of its lines.
    mark.cursor = QTextCursor(target);
    mark.format.setBackground(QColor(255, 236, 150));
    mark.format.setProperty(QTextFormat::FullWidthSelection, true);
    setExtraSelections({mark});

    // Lays the document out up to the block, when it is not yet.
    const QRectF place = document()->documentLayout()->blockBoundingRect(target);
    QScrollBar* bar = verticalScrollBar();
    const int wanted = qRound(place.top()) - viewport()->height() / 3;
    const int top = bar->value();
    const bool inView = place.top() >= top && place.bottom() <= top + viewport()->height();
    if (!inView) bar->setValue(qBound(bar->minimum(), wanted, bar->maximum()));
}

void ReportView::ShowMessage(const QString& html) {
    setExtraSelections({});
    marked_ = -1;
    setHtml(html);
}

void ReportView::mousePressEvent(QMouseEvent* event) {
    pressedAt_ = event->position().toPoint();
    QTextBrowser::mousePressEvent(event);
}

void ReportView::mouseReleaseEvent(QMouseEvent* event) {
    QTextBrowser::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton) return;
    if ((event->position().toPoint() - pressedAt_).manhattanLength() > 4) return;
    if (textCursor().hasSelection()) return;
    emit ClickedAt(cursorForPosition(event->position().toPoint()).position());
}

}  // namespace venuecheck
