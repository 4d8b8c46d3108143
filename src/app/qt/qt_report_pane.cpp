#include "app/qt/qt_report_pane.h"

#include <QFont>
#include <QFontDatabase>
#include <QTextDocument>

#include "app/qt/ansi_text.h"

namespace venuecheck {

QtReportPane::QtReportPane(QTextEdit& edit) : edit_(&edit), cursor_(edit.document()) {
    // Appends are never undone one by one, and a new report is not an edit
    // the user could take back.
    edit.document()->setUndoRedoEnabled(false);
    // The report lines its columns up with tabs at the rich-edit control's
    // default stops, every half inch.
    edit.setTabStopDistance(edit.logicalDpiX() / 2.0);
    format_.setFontFamilies(QStringList{QString::fromLatin1(style::kFace)});
    format_.setFontPointSize(style::kBodySize / 20.0);
    format_.setForeground(QColor(style::kBlack.red, style::kBlack.green, style::kBlack.blue));
    format_.setFontWeight(QFont::Normal);
    cursor_.movePosition(QTextCursor::End);
}

int QtReportPane::Position() {
    Flush();
    return cursor_.position();
}

void QtReportPane::BeginBatch() {
    if (batchDepth_++ > 0 || edit_ == nullptr) return;
    updatesWere_ = edit_->updatesEnabled();
    edit_->setUpdatesEnabled(false);
}

void QtReportPane::EndBatch() {
    if (--batchDepth_ > 0 || edit_ == nullptr) return;
    Flush();
    CloseEditBlock();
    if (offscreen_ != nullptr) {
        // The editor frees the document it made itself; the pane frees those
        // it made.
        QTextDocument* shown = edit_->document();
        const bool ours = shown->parent() == edit_;
        edit_->setDocument(offscreen_);
        offscreen_ = nullptr;
        if (ours) shown->deleteLater();
    }
    edit_->setUpdatesEnabled(updatesWere_);
}

void QtReportPane::OpenEditBlock() {
    if (batchDepth_ == 0 || editBlockOpen_) return;
    cursor_.beginEditBlock();
    editBlockOpen_ = true;
}

void QtReportPane::CloseEditBlock() {
    if (!editBlockOpen_) return;
    cursor_.endEditBlock();
    editBlockOpen_ = false;
}

void QtReportPane::Clear() {
    if (edit_ == nullptr) return;
    pending_.clear();
    linesInParagraph_ = 0;
    afterCarriageReturn_ = false;
    if (batchDepth_ > 0 && offscreen_ == nullptr) {
        CloseEditBlock();
        const QTextDocument& shown = *edit_->document();
        offscreen_ = new QTextDocument(edit_);
        offscreen_->setUndoRedoEnabled(false);
        offscreen_->setDefaultFont(shown.defaultFont());
        offscreen_->setDefaultTextOption(shown.defaultTextOption());
        offscreen_->setDocumentMargin(shown.documentMargin());
        cursor_ = QTextCursor(offscreen_);
        return;
    }
    OpenEditBlock();
    cursor_.select(QTextCursor::Document);
    cursor_.removeSelectedText();
}

void QtReportPane::SetFont(std::string_view face, int twips) {
    format_.setFontFamilies(QStringList{DecodeAnsi(face)});
    format_.setFontPointSize(twips / 20.0);
    formatChanged_ = true;
}

void QtReportPane::SetColour(Rgb colour) {
    format_.setForeground(QColor(colour.red, colour.green, colour.blue));
    formatChanged_ = true;
}

void QtReportPane::SetBold(bool on) {
    format_.setFontWeight(on ? QFont::Bold : QFont::Normal);
    formatChanged_ = true;
}

void QtReportPane::Append(std::string_view text) {
    if (edit_ == nullptr) return;
    if (formatChanged_) {
        formatChanged_ = false;
        // A format set again to what it was lets the pending text go on.
        if (!pending_.empty() && !(format_ == pendingFormat_)) Flush();
        // A CR and an LF in two formats are two line breaks, as they are
        // two runs of the report.
        if (pending_.empty() && !(format_ == insertedFormat_)) afterCarriageReturn_ = false;
    }
    if (pending_.empty()) pendingFormat_ = format_;
    pending_ += text;
    if (batchDepth_ == 0) Flush();
}

void QtReportPane::Flush() {
    if (pending_.empty() || edit_ == nullptr) return;
    OpenEditBlock();
    QString text(static_cast<qsizetype>(pending_.size()), Qt::Uninitialized);
    QChar* out = text.data();
    const QString decoded = DecodeAnsi(pending_);
    for (const QChar c : decoded) {
        if (c == QLatin1Char('\n') && afterCarriageReturn_) {
            // CR LF is one line break, already written for the CR.
            afterCarriageReturn_ = false;
            continue;
        }
        afterCarriageReturn_ = c == QLatin1Char('\r');
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            *out++ = ++linesInParagraph_ < kLinesPerParagraph ? QChar(QChar::LineSeparator)
                                                              : QChar(QChar::ParagraphSeparator);
            if (linesInParagraph_ >= kLinesPerParagraph) linesInParagraph_ = 0;
        } else {
            *out++ = c;
        }
    }
    text.truncate(out - text.constData());
    pending_.clear();
    // The user may have moved the cursor of the shown pane.
    cursor_.movePosition(QTextCursor::End);
    cursor_.insertText(text, pendingFormat_);
    insertedFormat_ = pendingFormat_;
    if (batchDepth_ == 0) CloseEditBlock();
}

void PrepareReportFaces() {
    const QString face = QString::fromLatin1(style::kFace);
    if (QFontDatabase::hasFamily(face)) return;
    // No free face matches its metrics with a real bold; these come closest
    // in shape and width.
    QFont::insertSubstitutions(face, {QStringLiteral("DejaVu Sans Condensed"),
                                      QStringLiteral("DejaVu Sans"), QStringLiteral("Verdana")});
}

}  // namespace venuecheck
