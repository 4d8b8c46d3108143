#pragma once

#include <QPointer>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <string>

#include "report/report_pane.h"

namespace venuecheck {

// The report pane on a QTextEdit. All report text goes in through one
// cursor kept at the end of the document, each stretch of text with the
// whole format in force when it was appended, so text already in the pane
// keeps its own format whatever is set afterwards.
//
// A line break of the report (LF, CR LF or a lone CR, as the rich-edit
// control shows them) becomes a line separator, and every 64th a paragraph
// break: Qt's document pays for each paragraph, and a paragraph of a few
// dozen lines still lays out quickly. Appends in one format go in together.
//
// Laying out a long report in place costs seconds, so within a batch a
// cleared pane is written into a fresh document off screen, which replaces
// the shown one when the batch ends; the editor then lays out what is in
// view first and the rest in the background.
class QtReportPane : public ReportPane {
public:
    static constexpr int kLinesPerParagraph = 64;

    // The pane writes to `edit`, which stays owned by its parent widget.
    explicit QtReportPane(QTextEdit& edit);

    // Where the next append goes in the document being written: the shown
    // one, or within a batch the one that replaces it.
    int Position();

    // Holds every change of the pane back from layout and painting until it
    // ends. The window keeps one for the length of a check run.
    class Batch {
    public:
        explicit Batch(QtReportPane& pane) : pane_(pane) { pane_.BeginBatch(); }
        ~Batch() { pane_.EndBatch(); }
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        QtReportPane& pane_;
    };

protected:
    void Clear() override;
    void SetFont(std::string_view face, int twips) override;
    void SetColour(Rgb colour) override;
    void SetBold(bool on) override;
    void Append(std::string_view text) override;

private:
    void BeginBatch();
    void EndBatch();
    // Within a batch, every change goes into one edit block of the document.
    void OpenEditBlock();
    void CloseEditBlock();
    // Inserts the text appended since the format last changed.
    void Flush();

    QPointer<QTextEdit> edit_;
    QTextCursor cursor_;
    QTextCharFormat format_;
    bool formatChanged_ = false;  // since the pending text was appended
    std::string pending_;         // appended, not yet in the document
    QTextCharFormat pendingFormat_;
    QTextCharFormat insertedFormat_;  // of the text inserted last
    int linesInParagraph_ = 0;
    bool afterCarriageReturn_ = false;  // the last byte inserted was a CR
    int batchDepth_ = 0;
    bool editBlockOpen_ = false;
    // The document written off screen since the last clear of this batch;
    // a child of the editor until it is shown.
    QPointer<QTextDocument> offscreen_;
    bool updatesWere_ = true;
};

// Where "Tahoma" is not installed, a face of similar shape and width stands
// in for it; formats keep asking for "Tahoma". Call once after the
// application object exists.
void PrepareReportFaces();

}  // namespace venuecheck
