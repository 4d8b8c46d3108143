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

void QtReportPane::BeginBatch() {
    if (batchDepth_++ > 0 || edit_ == nullptr) return;
    updatesWere_ = edit_->updatesEnabled();
    edit_->setUpdatesEnabled(false);
}

void QtReportPane::EndBatch() {
    if (--batchDepth_ > 0 || edit_ == nullptr) return;
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
}

void QtReportPane::SetColour(Rgb colour) {
    format_.setForeground(QColor(colour.red, colour.green, colour.blue));
}

void QtReportPane::SetBold(bool on) {
    format_.setFontWeight(on ? QFont::Bold : QFont::Normal);
}

void QtReportPane::Append(std::string_view text) {
    if (edit_ == nullptr) return;
    OpenEditBlock();
    // The user may have typed into the pane since the last append.
    cursor_.movePosition(QTextCursor::End);
    cursor_.insertText(DecodeAnsi(text), format_);
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
