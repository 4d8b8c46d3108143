#pragma once

#include <QTextBrowser>

namespace venuecheck {

// The report pane's widget: rich text the user can read, select and copy
// but not type into; links only in the window's own messages. It marks the
// line of the finding chosen in the findings panel.
class ReportView : public QTextBrowser {
    Q_OBJECT

public:
    explicit ReportView(QWidget* parent = nullptr);

    // Marks the report line that starts at a position of the document and
    // scrolls it into view, a third down from the top; -1 takes the mark
    // away.
    void MarkLine(int position);
    int MarkedLine() const { return marked_; }
    // The report line that starts at a position, without its line break.
    QString LineAt(int position) const;

    // Replaces the content with a message of the window's (simple html).
    void ShowMessage(const QString& html);

signals:
    // A click that selected nothing, at this position of the document.
    void ClickedAt(int position);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int marked_ = -1;
    QPoint pressedAt_;
};

}  // namespace venuecheck
