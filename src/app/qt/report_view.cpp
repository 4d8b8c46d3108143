#include "app/qt/report_view.h"

#include <QAbstractTextDocumentLayout>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <algorithm>

namespace venuecheck {

ReportView::ReportView(QWidget* parent) : QTextBrowser(parent) {
    setOpenLinks(false);
    setOpenExternalLinks(false);
    setUndoRedoEnabled(false);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard |
                            Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    setPlaceholderText(tr("Choose a venue above to check it."));
}

namespace {

// The end of the report line that starts at `position` in its paragraph.
int LineEnd(const QTextBlock& block, int position) {
    const QString text = block.text();
    const qsizetype end = text.indexOf(QChar(QChar::LineSeparator), position - block.position());
    return block.position() + static_cast<int>(end < 0 ? text.size() : end);
}

}  // namespace

QString ReportView::LineAt(int position) const {
    const QTextBlock block = document()->findBlock(position);
    if (!block.isValid()) return {};
    return block.text().mid(position - block.position(), LineEnd(block, position) - position);
}

void ReportView::MarkLine(int position) {
    const QTextBlock block = document()->findBlock(position);
    if (position < 0 || !block.isValid()) {
        marked_ = -1;
        setExtraSelections({});
        return;
    }
    marked_ = position;
    QTextEdit::ExtraSelection mark;
    // With its line break, so that the mark spans the whole width.
    mark.cursor = QTextCursor(document());
    mark.cursor.setPosition(position);
    mark.cursor.setPosition(
        std::min(LineEnd(block, position) + 1, document()->characterCount() - 1),
        QTextCursor::KeepAnchor);
    mark.format.setBackground(QColor(255, 236, 150));
    mark.format.setProperty(QTextFormat::FullWidthSelection, true);
    setExtraSelections({mark});

    // Lays the document out up to the line, when it is not yet.
    document()->documentLayout()->blockBoundingRect(block);
    QTextCursor at(document());
    at.setPosition(position);
    const QRect place = cursorRect(at);
    if (viewport()->rect().contains(place)) return;
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(qBound(bar->minimum(), bar->value() + place.top() - viewport()->height() / 3,
                         bar->maximum()));
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
