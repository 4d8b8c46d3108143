#pragma once

#include <QPointer>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include "report/report_pane.h"

namespace venuecheck {

// The report pane on a QTextEdit. All report text goes in through one
// cursor kept at the end of the document, each append with the whole format
// in force at the insertion point, so text already in the pane keeps its own
// format whatever is set afterwards. The user may type into the pane; the
// next check run replaces everything.
//
// Laying out a long report in place costs seconds, so within a batch a
// cleared pane is written into a fresh document off screen, which replaces
// the shown one when the batch ends; the editor then lays out what is in
// view first and the rest in the background.
class QtReportPane : public ReportPane {
public:
    // The pane writes to `edit`, which stays owned by its parent widget.
    explicit QtReportPane(QTextEdit& edit);

    // Where the next append goes in the document being written: the shown
    // one, or within a batch the one that replaces it.
    int Position() const { return cursor_.position(); }

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

    QPointer<QTextEdit> edit_;
    QTextCursor cursor_;
    QTextCharFormat format_;
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
